// Whether two bitmaps show the same picture, whatever their formats: the
// tests' and the fuzzers' own comparison, apart from the code they check.
#pragma once

#include "image/image.h"

namespace glyphary {

inline bool SamePixels(const Bitmap& a, const Bitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.PixelAt(x, y) != b.PixelAt(x, y)) return false;
  return true;
}

}  // namespace glyphary
