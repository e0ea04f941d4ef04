// Whether two bitmaps show the same picture, whatever their formats: the
// tests' and the fuzzers' own comparison, apart from the code they check.
#pragma once

#include <cstring>

#include "image/image.h"

namespace glyphary {

inline bool SamePixels(const Bitmap& a, const Bitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.PixelAt(x, y) != b.PixelAt(x, y)) return false;
  return true;
}

// Whether two bitmaps hold the same bytes in the same format.
inline bool SameBytes(const Bitmap& a, const Bitmap& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() &&
         a.BitsPerPixel() == b.BitsPerPixel() && a.ImageSize() == b.ImageSize() &&
         std::memcmp(a.Bits(), b.Bits(), a.ImageSize()) == 0;
}

}  // namespace glyphary
