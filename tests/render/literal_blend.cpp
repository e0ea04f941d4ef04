#include "literal_steps.h"

namespace glyphary {

void BlendCoverage(std::uint8_t* dest, const std::uint8_t* coverage, int count, TColor color) {
  const unsigned red = RedOf(color), green = GreenOf(color), blue = BlueOf(color);
  for (int k = 0; k < count; ++k, dest += 4) {
    // A white block leaves the pixel exactly as it is; most blocks are white.
    if (coverage[k] == 255) continue;
    const unsigned keep = coverage[k] + 1u, ink = 256 - keep;
    dest[0] = std::uint8_t((dest[0] * keep + blue * ink) >> 8);
    dest[1] = std::uint8_t((dest[1] * keep + green * ink) >> 8);
    dest[2] = std::uint8_t((dest[2] * keep + red * ink) >> 8);
  }
}

}  // namespace glyphary
