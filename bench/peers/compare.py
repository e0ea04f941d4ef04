"""Runs our benchmarks and programs and the peers on the same captions and
images, then prints every ratio (peer time ÷ ours; above 1 means we are ahead).

  compare.py BUILD_DIR
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile

from timing import median_ms_of_processes, peak_mib

HERE = os.path.dirname(os.path.abspath(__file__))
TEXT = "今日の天気は晴れ Sunny Day 2024"  # 23 characters, as in caption_bench
LONG_TEXT = "今日の天気は晴れ、明日は雨 Sunny Day 2024!!"  # 30 characters
FACE = "IPAPGothic"  # what the default face ＭＳ Ｐゴシック resolves to
CONVERT = "/usr/bin/convert"  # ImageMagick's own, whatever else PATH holds
REPETITIONS = 5


def pixels(points):
    return round(points * 96 / 72)


def font_file():
    return subprocess.run(["fc-match", "-f", "%{file}", FACE], check=True,
                          capture_output=True, text=True).stdout


def benchmark_medians(program, pattern):
    """Median real time in ms (and counters) of each benchmark matching pattern."""
    out = subprocess.run(
        [program, "--benchmark_filter=" + pattern, "--benchmark_format=json",
         "--benchmark_repetitions=%d" % REPETITIONS, "--benchmark_report_aggregates_only=true",
         "--benchmark_min_time=0.1",
         # Repetitions of different benchmarks in random order, so that load
         # coming and going hits them alike.
         "--benchmark_enable_random_interleaving=true"],
        check=True, capture_output=True, text=True).stdout
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}
    medians = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("aggregate_name") == "median":
            medians[b["run_name"]] = b["real_time"] * scale[b["time_unit"]]
    return medians


def peer(script, *args, env=None):
    out = subprocess.run([sys.executable, os.path.join(HERE, script)] + [str(a) for a in args],
                         check=True, capture_output=True, text=True, env=env).stdout
    return float(out.strip())


def with_module(build):
    """The environment in which Python finds the glyphary module of the build."""
    return dict(os.environ, PYTHONPATH=os.path.join(build, "python"))


def mean_of(a, b):
    if isinstance(a, dict):
        return {key: (a[key] + b[key]) / 2 for key in a}
    return (a + b) / 2


def side_by_side(ours, theirs):
    """Both measured twice, ours, theirs, theirs, ours, and each averaged (a
    number or a dict of them), so that load that rises or falls during the run
    weighs on both alike."""
    first, second, third, fourth = ours(), theirs(), theirs(), ours()
    return mean_of(first, fourth), mean_of(second, third)


class Table:
    def __init__(self):
        self.rows = []

    def add(self, case, ours, peer_name, peer_value, ratio, goal=None, goal_text=None):
        """goal: the least ratio wanted; goal_text: (a goal no ratio says, whether it holds)."""
        if goal is not None:
            goal_text = ("≥ %g" % goal, ratio >= goal)
        shown = "" if goal_text is None else goal_text[0] + (" yes" if goal_text[1] else " NO")
        self.rows.append((case, ours, peer_name + ": " + peer_value, "%.2f" % ratio, shown))

    def print(self):
        print("\n| case | ours | peer | ratio | goal |\n|---|---|---|---|---|")
        for row in self.rows:
            print("| " + " | ".join(row) + " |")


def in_process_captions(build, font, table):
    def ours():
        return benchmark_medians(build + "/bench/caption_bench", "^BM_RenderCaption/(25|100)$")

    def theirs():
        return {p: peer("pillow_peer.py", "caption", font, pixels(p), TEXT) for p in (25, 100)}

    mine, pillow = side_by_side(ours, theirs)
    for points in (25, 100):
        a, b = mine["BM_RenderCaption/%d" % points], pillow[points]
        table.add("caption %d pt, 23 chars, in process" % points, "%.2f ms" % a,
                  "Pillow at %d px" % pixels(points), "%.2f ms" % b, b / a,
                  1.5 if points == 25 else 1.0)


def captions_from_python(build, font, table):
    """The module from Python, array included, against Pillow drawing into a new image."""
    mine, pillow = side_by_side(
        lambda: peer("python_module.py", "caption", TEXT, env=with_module(build)),
        lambda: peer("pillow_peer.py", "caption", font, pixels(25), TEXT))
    table.add("caption 25 pt from Python, `glyphary.render` → NumPy", "%.3f ms" % mine,
              "Pillow `ImageDraw.text` into a new image", "%.3f ms" % pillow, pillow / mine, 3.0)


def captions_with_effect(build, font, table):
    """A 3 px border and a soft shadow: ours supersampled, Pillow's stroke and blur."""
    def ours():
        return benchmark_medians(build + "/bench/caption_bench",
                                 "^BM_RenderCaptionWithEffect/25$")["BM_RenderCaptionWithEffect/25"]

    def theirs():
        return peer("pillow_peer.py", "effect", font, pixels(25), TEXT)

    mine, pillow = side_by_side(ours, theirs)
    table.add("caption 25 pt, 3 px border, soft shadow, in process", "%.2f ms" % mine,
              "Pillow stroke + blur at %d px" % pixels(25), "%.2f ms" % pillow, pillow / mine,
              goal_text=("< 2 ms ours", mine < 2.0))


# The テロップ style: yellow to orange, a 3 px white border, a 6 px dark red
# one outside it and a soft black shadow, over dark blue.
TELOP_OPTIONS = ["--color", "#FFF000", "--gradient", "#FF7800", "--outline", "3,clWhite",
                 "--outer-outline", "6,#8B0000", "--shadow", "3,3,clBlack,3",
                 "--background", "#102040"]


def imagemagick_telop(font, out):
    """The same style as ImageMagick draws it: a blurred shadow, then the text
    three times, the outer border's stroke, the border's, and the gradient
    fill tiled from a gradient image."""
    size, points = "620x80", str(pixels(25))
    text = ["-font", font, "-pointsize", points, "-gravity", "center"]
    return ([CONVERT, "-size", size, "xc:#102040"] + text +
            ["(", "-size", size, "xc:none"] + text +
            ["-stroke", "black", "-strokewidth", "18", "-fill", "black", "-annotate", "+3+3", TEXT,
             "-blur", "0x3", ")", "-composite",
             "(", "-size", "1x34", "gradient:#FFF000-#FF7800", "-write", "mpr:fill", "+delete", ")",
             "-stroke", "#8B0000", "-strokewidth", "18", "-fill", "#8B0000", "-annotate", "+0+0",
             TEXT, "-stroke", "white", "-strokewidth", "6", "-fill", "white", "-annotate", "+0+0",
             TEXT, "-stroke", "none", "-tile", "mpr:fill", "-annotate", "+0+0", TEXT, out])


def telop_style(build, font, folder, table):
    """In process against its goal, and as a whole process beside ImageMagick's three passes."""
    mine = benchmark_medians(build + "/bench/caption_bench",
                             "^BM_RenderCaptionTelop/25$")["BM_RenderCaptionTelop/25"]
    out = os.path.join(folder, "telop.png")
    times = median_ms_of_processes({
        "ours": [build + "/glyphary-cli", "render", TEXT, out, "--size", "25"] + TELOP_OPTIONS,
        "convert": imagemagick_telop(font, out),
    }, runs=15)
    table.add("テロップ style 25 pt → PNG (gradient, borders 3 + 6 px, soft shadow), whole "
              "process; in process %.2f ms" % mine, "%.1f ms" % times["ours"],
              "ImageMagick `convert`, three passes and a blurred shadow",
              "%.1f ms" % times["convert"], times["convert"] / times["ours"],
              goal_text=("< 2.5 ms ours in process", mine < 2.5))


def whole_processes(build, font, folder, table):
    out = os.path.join(folder, "one.png")
    times = median_ms_of_processes({
        "ours": [build + "/glyphary-cli", "render", TEXT, out],
        "pango-view": ["pango-view", "-q", "--dpi=96", "--font=%s 25" % FACE, "-t", TEXT,
                       "-o", out],
        "convert": [CONVERT, "-font", font, "-pointsize", str(pixels(25)), "label:" + TEXT, out],
    }, runs=15)
    for name in ("pango-view", "convert"):
        table.add("whole process `glyphary-cli render` 25 pt → PNG", "%.1f ms" % times["ours"],
                  name, "%.1f ms" % times[name], times[name] / times["ours"], 1.0)


def peak_memory(build, font, folder, table):
    out = os.path.join(folder, "big.png")
    ours = peak_mib([build + "/glyphary-cli", "render", LONG_TEXT, out, "--size", "200"])
    peers = {
        "convert": peak_mib([CONVERT, "-font", font, "-pointsize", str(pixels(200)),
                             "label:" + LONG_TEXT, out]),
        "pango-view": peak_mib(["pango-view", "-q", "--dpi=96", "--font=%s 200" % FACE, "-t",
                                LONG_TEXT, "-o", out]),
    }
    for name, theirs in peers.items():
        table.add("peak memory, 30 chars at 200 pt", "%.1f MiB" % ours, name,
                  "%.1f MiB" % theirs, theirs / ours, goal_text=("ours < 40 MiB", ours < 40))


def halving(build, table):
    ours = benchmark_medians(build + "/bench/stretch_bench",
                             "^BM_(Stretch/w:(4000/h:600/toW:2000/toH:300|8000/h:1200/toW:4000/"
                             "toH:600)|HalveSweep/.*/vectors:0|Memcpy/.*)$")

    def rate(w, h, ms):
        return "%.2f Gpx/s" % (w * h / ms / 1e6)

    for w, h in ((4000, 600), (8000, 1200)):
        case = "exact halving %d×%d" % (w, h)
        call = ours["BM_Stretch/w:%d/h:%d/toW:%d/toH:%d" % (w, h, w // 2, h // 2)]
        if w == 4000:
            # Like for like: both into memory made beforehand. The whole call
            # also makes the result and frees the freshly copied source.
            sweep = ours["BM_HalveSweep/w:%d/h:%d/vectors:0" % (w, h)]
            copy = ours["BM_Memcpy/w:%d/h:%d" % (w, h)]
            table.add(case + " (in cache), into a made bitmap", rate(w, h, sweep),
                      "memcpy of the same bytes", rate(w, h, copy), copy / sweep, 0.8)
            table.add(case + " (in cache), whole `StretchBitmap` call", rate(w, h, call),
                      "memcpy of the same bytes", rate(w, h, copy), copy / call)
        for threads, label in ((1, "OpenCV INTER_AREA, 1 thread"),
                               (0, "OpenCV INTER_AREA, its own threads")):
            theirs = peer("opencv_peer.py", w, h, threads)
            table.add(case + ", whole `StretchBitmap` call", rate(w, h, call), label,
                      rate(w, h, theirs), theirs / call, 1.0 if threads == 1 else None)


def batches(build, font, folder, table):
    ours, theirs = side_by_side(
        lambda: benchmark_medians(build + "/bench/batch_bench",
                                  "^BM_BatchOfTen/1/25$")["BM_BatchOfTen/1/25"],
        lambda: peer("pillow_peer.py", "ten", font, pixels(25), folder))
    table.add("ten captions 25 pt → PNG, in process", "%.1f ms" % ours, "Pillow",
              "%.1f ms" % theirs, theirs / ours, 1.0)

    rows = os.path.join(folder, "rows.txt")
    with open(rows, "w", encoding="utf-8") as f:
        for i in range(1000):
            f.write("字幕テキスト Caption サンプル #%04d\tcaption%04d\n" % (i, i))

    def batch(target, jobs=None):
        os.makedirs(target, exist_ok=True)
        command = [build + "/glyphary-cli", "batch", rows, "--folder", target, "--format", "png"]
        return command + (["--jobs", str(jobs)] if jobs else [])

    # Against Pillow and two jobs against one: in memory (/dev/shm), where the
    # program's own work is measured, and on the disk, where each of our files
    # waits for its fsync (Pillow's do not).
    places = [("on disk", folder)]
    if os.path.isdir("/dev/shm") and os.access("/dev/shm", os.W_OK):
        places.insert(0, ("in /dev/shm", tempfile.mkdtemp(prefix="glyphary-jobs-",
                                                          dir="/dev/shm")))
    for place, root in places:
        in_memory = place == "in /dev/shm"
        os.makedirs(os.path.join(root, "pillow"))
        times = median_ms_of_processes({
            "ours": batch(os.path.join(root, "ours"), 2),
            "pillow": [sys.executable, os.path.join(HERE, "pillow_peer.py"), "batch", font,
                       str(pixels(25)), rows, os.path.join(root, "pillow")],
        }, runs=3)
        table.add("1,000 captions 25 pt → PNG, whole process, --jobs 2, files " + place,
                  "%.0f ms" % times["ours"], "one Python process with Pillow",
                  "%.0f ms" % times["pillow"], times["pillow"] / times["ours"],
                  2.5 if in_memory else None)
        jobs = median_ms_of_processes({
            1: batch(os.path.join(root, "one"), 1),
            2: batch(os.path.join(root, "two"), 2),
        }, runs=5)
        table.add("1,000 captions 25 pt → PNG, --jobs 2, files " + place,
                  "%.0f ms" % jobs[2], "ours with --jobs 1", "%.0f ms" % jobs[1],
                  jobs[1] / jobs[2], 1.85 if in_memory else None)
        if root != folder:
            shutil.rmtree(root, ignore_errors=True)


def dask_cluster(build, table):
    """The Dask example on a local cluster of two worker processes against
    `glyphary-cli batch --jobs 2`, files in memory. The cluster's start (a few
    seconds) is left out: the example's own clock runs from the first chunk
    sent to the last image written; the batch is timed as a whole process."""
    root = tempfile.mkdtemp(prefix="glyphary-dask-", dir="/dev/shm")
    try:
        rows = os.path.join(root, "rows.txt")
        with open(rows, "w", encoding="utf-8") as f:
            for i in range(4000):
                f.write("字幕テキスト Caption サンプル #%04d\tcaption%04d\n" % (i, i))
        example = os.path.join(HERE, "..", "..", "examples", "dask_captions.py")

        def dask():
            done = subprocess.run([sys.executable, example, rows, os.path.join(root, "dask"),
                                   "--workers", "2"], check=True, capture_output=True, text=True,
                                  env=with_module(build))
            line = [l for l in done.stderr.splitlines() if " captions in " in l][-1]
            return float(line.split(" captions in ")[1].split(" s")[0]) * 1000

        def batch():
            os.makedirs(os.path.join(root, "batch"), exist_ok=True)
            return median_ms_of_processes({"ours": [
                build + "/glyphary-cli", "batch", rows, "--folder", os.path.join(root, "batch"),
                "--format", "png", "--jobs", "2"]}, runs=1)["ours"]

        cluster, ours = side_by_side(dask, batch)
        table.add("4,000 captions 25 pt → PNG, Dask example, local cluster of 2 workers",
                  "%.0f ms" % cluster, "`glyphary-cli batch --jobs 2`", "%.0f ms" % ours,
                  ours / cluster, goal_text=("≥ 0.8", ours / cluster >= 0.8))
    finally:
        shutil.rmtree(root, ignore_errors=True)


def main(build):
    font = font_file()
    table = Table()
    with tempfile.TemporaryDirectory(prefix="glyphary-peers-") as folder:
        for step in (lambda: in_process_captions(build, font, table),
                     lambda: captions_with_effect(build, font, table),
                     lambda: telop_style(build, font, folder, table),
                     lambda: whole_processes(build, font, folder, table),
                     lambda: peak_memory(build, font, folder, table),
                     lambda: halving(build, table),
                     lambda: batches(build, font, folder, table),
                     lambda: captions_from_python(build, font, table),
                     lambda: dask_cluster(build, table)):
            step()
            print(".", end="", flush=True, file=sys.stderr)
    print(file=sys.stderr)
    table.print()
    print("\nMedians of %d benchmark repetitions (in-process captions: two rounds each, ours "
          "and the peer's in turn), 15 process runs (3 for batches and memory); load average "
          "%.2f." % (REPETITIONS, os.getloadavg()[0]))


if __name__ == "__main__":
    main(sys.argv[1])
