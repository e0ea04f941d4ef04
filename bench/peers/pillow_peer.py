"""Pillow's side: captions drawn in process, and a batch drawn and saved.

  pillow_peer.py caption FONT PX TEXT        median ms of one caption
  pillow_peer.py effect FONT PX TEXT         the same with a 3 px white border and a
                                             shadow 3 px down and right, blurred over 4 px
  pillow_peer.py ten FONT PX FOLDER          median ms of ten captions to PNG
  pillow_peer.py batch FONT PX LIST FOLDER   draws and saves every row of LIST
"""
import os
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

from timing import median_ms_per_call

TEN = ["字幕テキスト Caption サンプル #0%d" % i for i in range(10)]


def caption(font, text):
    # Just the ink's box, like a trimmed caption; no supersampling.
    left, top, right, bottom = font.getbbox(text)
    image = Image.new("RGB", (right - left, bottom - top), "white")
    ImageDraw.Draw(image).text((-left, -top), text, font=font, fill=(0, 0, 128))
    return image


def caption_with_effect(font, text):
    # Pillow's own stroke for the border; the shadow is the stroked text as a
    # mask, moved and blurred (a Gaussian of radius 2 reaches about 4 px).
    border, offset, reach = 3, 3, 4
    left, top, right, bottom = font.getbbox(text, stroke_width=border)
    margin = offset + reach
    size = (right - left + margin, bottom - top + margin)
    shadow = Image.new("L", size, 0)
    ImageDraw.Draw(shadow).text((offset - left, offset - top), text, font=font, fill=255,
                                stroke_width=border, stroke_fill=255)
    shadow = shadow.filter(ImageFilter.GaussianBlur(reach / 2))
    image = Image.new("RGB", size, "white")
    image.paste((128, 128, 128), (0, 0), shadow)
    ImageDraw.Draw(image).text((-left, -top), text, font=font, fill=(0, 0, 128),
                               stroke_width=border, stroke_fill=(255, 255, 255))
    return image


def save_all(font, rows, folder):
    for text, name in rows:
        caption(font, text).save(os.path.join(folder, name + ".png"))


def main(argv):
    font = ImageFont.truetype(argv[2], int(argv[3]))
    if argv[1] == "caption":
        print(median_ms_per_call(lambda: caption(font, argv[4])))
    elif argv[1] == "effect":
        print(median_ms_per_call(lambda: caption_with_effect(font, argv[4])))
    elif argv[1] == "ten":
        rows = [(t, "row%d" % i) for i, t in enumerate(TEN)]
        print(median_ms_per_call(lambda: save_all(font, rows, argv[4])))
    else:
        with open(argv[4], encoding="utf-8") as f:
            rows = [line.rstrip("\n").split("\t") for line in f if line.strip()]
        save_all(font, rows, argv[5])


if __name__ == "__main__":
    main(sys.argv)
