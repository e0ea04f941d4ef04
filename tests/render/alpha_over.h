// An alpha caption's pixel laid over a colour, as a viewer composites it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/image.h"

namespace glyphary {

inline TColor Over(const Bitmap& alpha, int x, int y, TColor under) {
  const std::uint8_t* p = alpha.Row(y) + 4 * std::size_t(x);
  const auto mix = [a = p[3]](int top, int bottom) {
    return std::uint8_t((bottom * (255 - a) + top * a + 127) / 255);
  };
  return Rgb(mix(p[2], RedOf(under)), mix(p[1], GreenOf(under)), mix(p[0], BlueOf(under)));
}

}  // namespace glyphary
