// Captions as NumPy arrays and back: rows top first, RGB or RGBA, uint8.
#pragma once

#include <pybind11/numpy.h>

#include "image/image.h"

namespace glyphary {

// A 24-bit caption as (height, width, 3) RGB; a 32-bit alpha caption as
// (height, width, 4) RGBA.
pybind11::array_t<std::uint8_t> ArrayOf(const Bitmap& caption);

// The reverse: (height, width, 3) gives 24 bits, (height, width, 4) 32 bits
// with alpha in the fourth byte. ValueError for any other array.
Bitmap BitmapOf(const pybind11::array& image);

}  // namespace glyphary
