"""examples/dask_captions.py on a local cluster of two worker processes,
against glyphary-cli batch on the same list."""
import os
import subprocess
import sys

from conftest import png_chunks, run_cli

EXAMPLE = os.path.join(os.environ.get("GLYPHARY_SOURCE", os.path.join(
    os.path.dirname(__file__), "..", "..")), "examples", "dask_captions.py")

ROWS = [("字幕 %d gyj Éx" % i if i % 3 else "行 %d\u3000全角" % i, "c%03d" % i)
        for i in range(90)]


def run_example(*args):
    return subprocess.run([sys.executable, EXAMPLE] + [str(a) for a in args],
                          capture_output=True, text=True, timeout=100)


def test_a_local_cluster_writes_the_batchs_images_and_every_label(tmp_path):
    rows = tmp_path / "rows.txt"
    # Blank lines and a Windows line end, as the batch takes them.
    rows.write_text("\n".join(t + "\t" + n for t, n in ROWS[:40]) + "\n\n" +
                    "\r\n".join(t + "\t" + n for t, n in ROWS[40:]) + "\n", encoding="utf-8")
    done = run_example(rows, tmp_path / "dask", "--workers", "2", "--chunk", "7", "--size", "30",
                       "--bold")
    assert done.returncode == 0, done.stderr
    (tmp_path / "batch").mkdir()
    run_cli("batch", rows, "--folder", tmp_path / "batch", "--format", "png", "--size", "30",
            "--bold", "--jobs", "1")
    for _, name in ROWS:
        assert png_chunks(tmp_path / "dask" / (name + ".png")) == \
            png_chunks(tmp_path / "batch" / (name + ".png")), name
    labels = (tmp_path / "dask" / "labels.tsv").read_text(encoding="utf-8")
    assert labels == "".join(n + ".png\t" + t + "\n" for t, n in ROWS)
    assert sorted(os.listdir(tmp_path / "dask")) == sorted([n + ".png" for _, n in ROWS] +
                                                           ["labels.tsv"])


def test_a_bad_row_is_named_before_anything_is_written(tmp_path):
    rows = tmp_path / "rows.txt"
    rows.write_text("a\tx\n\nb\tx\n", encoding="utf-8")
    done = run_example(rows, tmp_path / "out")
    assert done.returncode == 1
    assert "3 行目: ファイル名に重複があります (1 行目と同じ)" in done.stderr
    assert not (tmp_path / "out").exists()
