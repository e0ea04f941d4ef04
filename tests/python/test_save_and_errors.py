"""glyphary.save against the files glyphary-cli writes, and the errors both raise."""
import os

import numpy
import pytest

import glyphary
from conftest import png_chunks, run_cli

TEXT = "保存 Save gyj"


@pytest.mark.parametrize("name, save_options, cli_options", [
    ("a.bmp", {}, []),
    ("a.jpg", {}, []),
    ("a.JPEG", {"quality": 95}, ["--quality", "95"]),
])
def test_bmp_and_jpeg_are_the_bytes_the_command_line_writes(tmp_path, name, save_options,
                                                            cli_options):
    ours, theirs = tmp_path / "ours", tmp_path / "theirs"
    ours.mkdir()
    theirs.mkdir()
    glyphary.save(glyphary.render(TEXT, background="clYellow"), ours / name, **save_options)
    run_cli("render", TEXT, theirs / name, "--background", "clYellow", *cli_options)
    assert (ours / name).read_bytes() == (theirs / name).read_bytes()


@pytest.mark.parametrize("render_options, save_options, cli_options", [
    ({}, {}, []),
    ({"background": "clLime"}, {"transparent": True, "colors256": True},
     ["--background", "clLime", "--transparent"]),
    ({"background": "clLime"}, {"transparent": True}, ["--background", "clLime",
                                                       "--transparent", "--no-256"]),
    ({}, {"colors256": True}, ["--256"]),
    ({"alpha": True, "color": "clBlue", "outline": 2}, {},
     ["--alpha", "--color", "clBlue", "--outline", "2"]),
])
def test_png_is_the_command_lines_but_for_its_time_stamp(tmp_path, render_options, save_options,
                                                         cli_options):
    glyphary.save(glyphary.render(TEXT, **render_options), tmp_path / "ours.png", **save_options)
    run_cli("render", TEXT, tmp_path / "theirs.png", *cli_options)
    assert png_chunks(tmp_path / "ours.png") == png_chunks(tmp_path / "theirs.png")


def test_an_existing_file_is_replaced_whole(tmp_path):
    path = tmp_path / "a.png"
    path.write_bytes(b"old")
    glyphary.save(glyphary.render("new"), str(path).encode())
    assert path.read_bytes().startswith(b"\x89PNG")
    assert os.listdir(tmp_path) == ["a.png"]


IMAGE = numpy.zeros((4, 5, 3), numpy.uint8)


@pytest.mark.parametrize("call, error, message", [
    (lambda: glyphary.render("x", color="clNothing"), ValueError,
     "color: 'clNothing' は色として読めません"),
    (lambda: glyphary.render("x", background="#12345"), ValueError, "background: '#12345'"),
    (lambda: glyphary.render("x", outline=(21, "clRed")), ValueError,
     "outline の幅 は 0 から 20 までです (21)"),
    (lambda: glyphary.render("x", shadow=(1, 2, "clRed", 11)), ValueError,
     "shadow のぼかし は 0 から 10 までです (11)"),
    (lambda: glyphary.render("x", shadow=(1,)), TypeError, "shadow は (横, 縦[, 色[, ぼかし]])"),
    (lambda: glyphary.render("x", size=100000), ValueError,
     "文字サイズが大きすぎるため画像を作成できません"),
    (lambda: glyphary.render("x", bold=1), TypeError, "bold は True か False"),
    (lambda: glyphary.render("x", sise=30), TypeError, "render() にはない引数です: sise"),
    (lambda: glyphary.render("x", 30, size=30), TypeError, "size が二度指定されています"),
    (lambda: glyphary.render("a\0b"), ValueError, "NUL 文字は使えません"),
    (lambda: glyphary.render("x", align="left"), ValueError, "align は \"start\""),
    (lambda: glyphary.render("x", line_spacing=301), ValueError,
     "line_spacing は 50 から 300 までです (301)"),
    (lambda: glyphary.save(IMAGE, "/nonexistent-folder/a.png"), OSError,
     "ファイル /nonexistent-folder/a.png を作成できません (フォルダーが見つかりません)"),
    (lambda: glyphary.save(IMAGE, "a.gif"), ValueError, "保存形式が分かりません: a.gif"),
    (lambda: glyphary.save(IMAGE, "a.jpg", quality=5), ValueError,
     "quality は 10 から 100 までです (5)"),
    (lambda: glyphary.save(numpy.zeros((4, 5, 4), numpy.uint8), "a.jpg"), ValueError,
     "RGBA) は PNG にだけ"),
    (lambda: glyphary.save(numpy.zeros((4, 5, 3), numpy.float32), "a.png"), ValueError,
     "uint8 の配列にしてください"),
    (lambda: glyphary.save(numpy.zeros((4, 5), numpy.uint8), "a.png"), ValueError,
     "uint8 の配列にしてください"),
    (lambda: glyphary.save(numpy.zeros((0, 5, 3), numpy.uint8), "a.png"), ValueError,
     "uint8 の配列にしてください"),
])
def test_errors_raise_with_the_programs_message(tmp_path, monkeypatch, call, error, message):
    monkeypatch.chdir(tmp_path)
    with pytest.raises(error) as raised:
        call()
    assert message in str(raised.value)
    assert os.listdir(tmp_path) == []

