// The fixed palette of 256-colour output.
#pragma once

#include <array>

#include "image/image.h"

namespace glyphary {

inline constexpr int kHalftonePaletteSize = 256;

// 20 named colours first (black at index 0, so it wins ties), then a 6 × 6 × 6
// colour cube without its corners, then extra greys for anti-aliased edges.
const std::array<PaletteEntry, kHalftonePaletteSize>& HalftonePalette();

}  // namespace glyphary
