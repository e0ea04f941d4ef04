"""The module under test is the one in build/python (PYTHONPATH), held
against the glyphary-cli of the same build (GLYPHARY_CLI), whose files
Pillow decodes."""
import os
import subprocess

import numpy
from PIL import Image

CLI = os.environ.get("GLYPHARY_CLI", "glyphary-cli")


def run_cli(*args, check=True):
    return subprocess.run([CLI] + [str(a) for a in args], check=check, capture_output=True,
                          text=True)


def decoded(path, mode="RGB"):
    """The pixels of an image file as Pillow decodes it, top row first."""
    with Image.open(path) as image:
        return numpy.asarray(image.convert(mode))


def png_chunks(path):
    """A PNG's chunks in order as (type, data), its time stamp left out."""
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n"
    chunks, at = [], 8
    while at < len(data):
        length = int.from_bytes(data[at:at + 4], "big")
        kind = data[at + 4:at + 8]
        if kind != b"tIME":
            chunks.append((kind, data[at + 8:at + 8 + length]))
        at += 12 + length
    return chunks
