"""Medians of wall-clock time, robust against a loaded machine."""
import statistics
import subprocess
import time


def median_ms_per_call(call, rounds=7, round_seconds=0.08):
    """Median over rounds of the mean time of one call within a round."""
    call()  # warm: fonts, caches, lazy set-up
    start = time.perf_counter()
    call()
    once = max(time.perf_counter() - start, 1e-6)
    per_round = max(1, int(round_seconds / once))
    samples = []
    for _ in range(rounds):
        start = time.perf_counter()
        for _ in range(per_round):
            call()
        samples.append((time.perf_counter() - start) / per_round * 1000)
    return statistics.median(samples)


def median_ms_of_processes(commands, runs):
    """Each command run runs times, interleaved so that load hits all alike."""
    samples = {name: [] for name in commands}
    for _ in range(runs):
        for name, command in commands.items():
            start = time.perf_counter()
            subprocess.run(command, check=True, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)
            samples[name].append((time.perf_counter() - start) * 1000)
    return {name: statistics.median(s) for name, s in samples.items()}


def peak_mib(command, runs=3):
    """Median of the process's peak resident size, from GNU time."""
    samples = []
    for _ in range(runs):
        result = subprocess.run(["/usr/bin/time", "-f", "%M"] + command, check=True,
                                stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        samples.append(int(result.stderr.strip().splitlines()[-1]) / 1024)
    return statistics.median(samples)
