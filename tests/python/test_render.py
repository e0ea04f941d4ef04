"""glyphary.render against the pixels glyphary-cli writes, decoded by Pillow."""
import threading

import numpy
import pytest

import glyphary
from conftest import decoded, run_cli

TEXT = "字幕 Caption gyj 123"

# keyword arguments of render() and the same style as glyphary-cli options
STYLES = [
    ({}, []),
    ({"size": 40, "bold": True, "italic": True, "underline": True, "color": "clNavy",
      "background": "#FFEECC"},
     ["--size", "40", "--bold", "--italic", "--underline", "--color", "clNavy",
      "--background", "#FFEECC"]),
    ({"face": "IPAMincho", "size": 12}, ["--face", "IPAMincho", "--size", "12"]),
    ({"color": "$000080FF", "background": "0x00202020"},
     ["--color", "$000080FF", "--background", "0x00202020"]),
    ({"color": 255, "background": "16776960"}, ["--color", "255", "--background", "16776960"]),
    ({"outline": (3, "clRed"), "shadow": (2, 3, "clGray", 2)},
     ["--outline", "3,clRed", "--shadow", "2,3,clGray,2"]),
    ({"outline": 2, "shadow": (-2, 2, None, 4)}, ["--outline", "2", "--shadow", "-2,2,,4"]),
    ({"dpi": 144, "size": 18}, ["--dpi", "144", "--size", "18"]),
    ({"outline": 2, "outer_outline": (3, "clBlue"), "gradient": "#FF8000"},
     ["--outline", "2", "--outer-outline", "3,clBlue", "--gradient", "#FF8000"]),
]


@pytest.mark.parametrize("style, options", STYLES)
def test_the_pixels_are_those_the_command_line_writes(tmp_path, style, options):
    path = tmp_path / "cli.bmp"
    run_cli("render", TEXT, path, *options)
    image = glyphary.render(TEXT, **style)
    assert image.dtype == numpy.uint8
    assert image.shape[2] == 3
    assert image.tobytes() == decoded(path).tobytes()
    assert image.shape == decoded(path).shape


@pytest.mark.parametrize("style, options", [
    ({"color": "clMaroon"}, ["--color", "clMaroon"]),
    ({"outline": (2, "clWhite"), "shadow": (3, 3, "clBlack", 3)},
     ["--outline", "2,clWhite", "--shadow", "3,3,clBlack,3"]),
])
def test_an_alpha_caption_is_the_rgba_the_command_line_writes_to_png(tmp_path, style, options):
    path = tmp_path / "cli.png"
    run_cli("render", TEXT, path, "--alpha", *options)
    image = glyphary.render(TEXT, alpha=True, **style)
    assert image.shape[2] == 4
    assert image.tobytes() == decoded(path, "RGBA").tobytes()


@pytest.mark.parametrize("style, options", [
    ({"align": "end", "line_spacing": 150}, ["--align", "end", "--line-spacing", "150"]),
    ({"vertical": True, "align": "center", "letter_spacing": 3},
     ["--vertical", "--align", "center", "--letter-spacing", "3"]),
])
def test_lines_and_vertical_text_are_the_command_lines(tmp_path, style, options):
    text = "一行目「縦」、\n二 gyj ー"
    path = tmp_path / "cli.bmp"
    run_cli("render", text, path, *options)
    assert glyphary.render(text, **style).tobytes() == decoded(path).tobytes()


def test_positional_style_arguments_follow_the_documented_order():
    assert numpy.array_equal(glyphary.render("位置", 30, "IPAMincho", True),
                             glyphary.render("位置", size=30, face="IPAMincho", bold=True))


def test_the_faces_are_those_the_command_line_lists():
    assert glyphary.faces() == run_cli("faces").stdout.splitlines()
    assert glyphary.faces(japanese=True) == run_cli("faces", "--japanese").stdout.splitlines()
    assert "ＭＳ Ｐゴシック" in glyphary.faces()


# Each thread draws with its own font engine, with the GIL let go: many at
# once give what one alone gives.
def test_threads_rendering_at_once_get_the_pixels_of_one_thread():
    texts = ["字幕 %d gyj" % i for i in range(12)]
    styles = [{}, {"bold": True, "size": 33}, {"outline": 2, "color": "clRed"}]
    expected = {(t, i): glyphary.render(t, **s).tobytes()
                for t in texts for i, s in enumerate(styles)}
    results, start = {}, threading.Barrier(6)

    def draw(worker):
        start.wait()
        for round_ in range(4):
            for t in texts:
                for i, s in enumerate(styles):
                    results[(worker, round_, t, i)] = glyphary.render(t, **s).tobytes()

    threads = [threading.Thread(target=draw, args=(w,)) for w in range(6)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    assert len(results) == 6 * 4 * len(texts) * len(styles)
    for (_, _, t, i), pixels in results.items():
        assert pixels == expected[(t, i)], (t, i)
