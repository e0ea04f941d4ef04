"""Anti-aliased caption images, as glyphary-cli makes them."""
import os
from typing import Literal, Optional, Tuple, Union

import numpy
import numpy.typing

__version__: str

Color = Union[str, int]
"""A name such as "clRed", "$00BBGGRR", "0x00BBGGRR", a decimal number or "#RRGGBB"."""

Outline = Union[int, Tuple[int], Tuple[int, Optional[Color]]]
"""width, or (width[, color]): 0 to 20 pixels; white unless a colour is given."""

Shadow = Union[Tuple[int, int], Tuple[int, int, Optional[Color]],
               Tuple[int, int, Optional[Color], int]]
"""(dx, dy[, color[, blur]]): -20 to 20 pixels each, grey by default, blur 0 to 10."""

def render(text: str, size: int = 25, face: Optional[str] = None, bold: bool = False,
           italic: bool = False, underline: bool = False, color: Color = "clBlack",
           background: Color = "clWhite", outline: Optional[Outline] = None,
           shadow: Optional[Shadow] = None, alpha: bool = False, dpi: int = 96,
           vertical: bool = False, align: Literal["start", "center", "end"] = "start",
           line_spacing: int = 100, letter_spacing: int = 0,
           outer_outline: Optional[Outline] = None,
           gradient: Optional[Color] = None) -> numpy.typing.NDArray[numpy.uint8]:
    """The caption of a text (lines separated by newlines), vertical (縦書き) if
    asked, as a (height, width, 3) RGB array, or (height, width, 4) RGBA
    with alpha=True: the pixels `glyphary-cli render` writes. Raises ValueError
    with the program's message for a style it cannot take or a caption too
    large to make."""

def save(image: numpy.typing.NDArray[numpy.uint8], path: Union[str, bytes, os.PathLike],
         quality: int = 70, transparent: bool = False, colors256: bool = False) -> None:
    """Writes the image as BMP, PNG or JPEG by the path's extension, whole or not at
    all, as glyphary-cli writes it. Raises ValueError for an image, quality or
    extension it cannot take and OSError when the file cannot be written."""

def faces(japanese: bool = False) -> list[str]:
    """The font faces a caption can use, as `glyphary-cli faces [--japanese]` lists them."""
