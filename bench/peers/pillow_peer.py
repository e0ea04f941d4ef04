"""Pillow's side: captions drawn in process, and a batch drawn and saved.

  pillow_peer.py caption FONT PX TEXT        median ms of one caption
  pillow_peer.py ten FONT PX FOLDER          median ms of ten captions to PNG
  pillow_peer.py batch FONT PX LIST FOLDER   draws and saves every row of LIST
"""
import os
import sys

from PIL import Image, ImageDraw, ImageFont

from timing import median_ms_per_call

TEN = ["字幕テキスト Caption サンプル #0%d" % i for i in range(10)]


def caption(font, text):
    # Just the ink's box, like a trimmed caption; no supersampling.
    left, top, right, bottom = font.getbbox(text)
    image = Image.new("RGB", (right - left, bottom - top), "white")
    ImageDraw.Draw(image).text((-left, -top), text, font=font, fill=(0, 0, 128))
    return image


def save_all(font, rows, folder):
    for text, name in rows:
        caption(font, text).save(os.path.join(folder, name + ".png"))


def main(argv):
    font = ImageFont.truetype(argv[2], int(argv[3]))
    if argv[1] == "caption":
        print(median_ms_per_call(lambda: caption(font, argv[4])))
    elif argv[1] == "ten":
        rows = [(t, "row%d" % i) for i, t in enumerate(TEN)]
        print(median_ms_per_call(lambda: save_all(font, rows, argv[4])))
    else:
        with open(argv[4], encoding="utf-8") as f:
            rows = [line.rstrip("\n").split("\t") for line in f if line.strip()]
        save_all(font, rows, argv[5])


if __name__ == "__main__":
    main(sys.argv)
