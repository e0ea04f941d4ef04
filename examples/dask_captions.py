#!/usr/bin/python3
"""Caption images for a whole list, spread over a Dask cluster.

  dask_captions.py LIST OUTDIR [--scheduler ADDRESS] [--workers N] [--chunk ROWS]
                   [--size N] [--face NAME] [--bold] [--italic] [--color C]
                   [--background C]

LIST is UTF-8 text with one row a line, as `glyphary-cli batch` reads it: the
caption text, a tab, the file name without extension; blank lines are
skipped. Every row becomes OUTDIR/NAME.png, made on a worker with the
glyphary module, and OUTDIR/labels.tsv lists them, file name, tab, text, in
the list's order, once every image is written: the form OCR training tools
read.

Without --scheduler a local cluster of worker processes runs on this machine
(--workers, default one per core). With --scheduler tcp://HOST:8786 the rows
go to the workers of a running `dask scheduler`; OUTDIR must then be the same
folder on every worker (a shared file system), and each worker needs the
glyphary module.
"""
import argparse
import os
import sys
import tempfile
import time

FORBIDDEN = set('\\/:?<>|\0')


def read_rows(path):
    """(text, name) for every used line; exits with the line's number on a bad one."""
    with open(path, encoding="utf-8-sig") as f:
        lines = f.read().split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    rows, names = [], {}
    for number, line in enumerate(lines, 1):
        line = line.rstrip("\r")
        text, _, name = line.partition("\t")
        if not text and not name:
            continue
        if not text or not name:
            fail("%d 行目: 正しく入力されていない項目があります" % number)
        if name in names:
            fail("%d 行目: ファイル名に重複があります (%d 行目と同じ)" % (number, names[name]))
        if FORBIDDEN & set(name):
            fail("%d 行目: ファイル名に \\ / : ? < > | は使えません" % number)
        names[name] = number
        rows.append((text, name))
    return rows


def fail(message):
    print("dask_captions: " + message, file=sys.stderr)
    sys.exit(1)


def render_chunk(rows, outdir, style):
    """On a worker: each row's caption written as a PNG; (file name, text) for each."""
    import glyphary  # once for each worker process, on its first chunk

    labels = []
    for text, name in rows:
        file_name = name + ".png"
        glyphary.save(glyphary.render(text, **style), os.path.join(outdir, file_name))
        labels.append((file_name, text))
    return labels


def write_labels(outdir, labels):
    """labels.tsv whole or not at all."""
    handle, temporary = tempfile.mkstemp(dir=outdir, prefix=".labels-")
    with os.fdopen(handle, "w", encoding="utf-8", newline="\n") as f:
        for file_name, text in labels:
            f.write(file_name + "\t" + text + "\n")
    os.chmod(temporary, 0o644)
    os.replace(temporary, os.path.join(outdir, "labels.tsv"))


def produce(client, rows, outdir, style, chunk):
    chunks = [rows[i:i + chunk] for i in range(0, len(rows), chunk)]
    futures = client.map(render_chunk, chunks, outdir=outdir, style=style, pure=False)
    labels = []
    for start, future in zip(range(0, len(rows), chunk), futures):
        try:
            labels.extend(future.result())
        except Exception as error:  # the worker's own error, as the module raised it
            client.cancel(futures)
            fail("%s の組: %s" % (rows[start][1], error))
    return labels


def options():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("list")
    parser.add_argument("outdir")
    parser.add_argument("--scheduler", help="a running scheduler, e.g. tcp://host:8786")
    parser.add_argument("--workers", type=int, help="local worker processes (default: cores)")
    parser.add_argument("--chunk", type=int, default=100, help="rows a task (default 100)")
    parser.add_argument("--size", type=int, default=25)
    parser.add_argument("--face")
    parser.add_argument("--bold", action="store_true")
    parser.add_argument("--italic", action="store_true")
    parser.add_argument("--color", default="clBlack")
    parser.add_argument("--background", default="clWhite")
    return parser.parse_args()


def main():
    args = options()
    rows = read_rows(args.list)
    outdir = os.path.abspath(args.outdir)
    os.makedirs(outdir, exist_ok=True)
    style = {"size": args.size, "face": args.face, "bold": args.bold, "italic": args.italic,
             "color": args.color, "background": args.background}

    from distributed import Client, LocalCluster

    if args.scheduler:
        client = Client(args.scheduler)
    else:
        # One thread a worker: each process draws one caption at a time.
        client = Client(LocalCluster(n_workers=args.workers, threads_per_worker=1,
                                     processes=True, dashboard_address=None))
    with client:
        start = time.perf_counter()
        labels = produce(client, rows, outdir, style, max(1, args.chunk))
        seconds = time.perf_counter() - start
    write_labels(outdir, labels)
    print("%d captions in %.2f s (%.0f a second)" % (len(rows), seconds,
                                                    len(rows) / max(seconds, 1e-9)),
          file=sys.stderr)


if __name__ == "__main__":
    main()
