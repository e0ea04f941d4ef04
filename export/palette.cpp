#include "export/palette.h"

#include <algorithm>
#include <cstdlib>
#include <span>

#include "export/export.h"

namespace glyphary {
namespace {

// The explicit named colours of the settings file, so that a caption drawn in
// any of them survives the reduction unchanged.
constexpr TColor kNamedColors[] = {
    0x00000000,  // black
    0x00000080,  // maroon
    0x00008000,  // green
    0x00008080,  // olive
    0x00800000,  // navy
    0x00800080,  // purple
    0x00808000,  // teal
    0x00C0C0C0,  // silver
    0x00C0DCC0,  // money green
    0x00F0CAA6,  // sky blue
    0x00F0FBFF,  // cream
    0x00A4A0A0,  // medium grey
    0x00808080,  // grey
    0x000000FF,  // red
    0x0000FF00,  // lime
    0x0000FFFF,  // yellow
    0x00FF0000,  // blue
    0x00FF00FF,  // fuchsia
    0x00FFFF00,  // aqua
    0x00FFFFFF,  // white
};

constexpr std::uint8_t kCubeLevels[] = {0, 51, 102, 153, 204, 255};

// Greys between the levels the colours above already hold (0, 51, 102, 128,
// 153, 192, 204, 255): black-on-white text edges are all grey.
constexpr std::uint8_t kExtraGreys[] = {7,   15,  22,  29,  36,  44,  58,  66,  73,  80,
                                        87,  95,  109, 115, 122, 134, 140, 147, 161, 169,
                                        176, 184, 211, 218, 226, 233, 240, 248};

constexpr bool IsCubeCorner(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  auto extreme = [](std::uint8_t v) { return v == 0 || v == 255; };
  return extreme(r) && extreme(g) && extreme(b);
}

constexpr PaletteEntry Entry(TColor c) {
  return PaletteEntry{BlueOf(c), GreenOf(c), RedOf(c), 0};
}

constexpr std::array<PaletteEntry, kHalftonePaletteSize> BuildPalette() {
  std::array<PaletteEntry, kHalftonePaletteSize> palette{};
  std::size_t n = 0;
  for (TColor c : kNamedColors) palette[n++] = Entry(c);
  for (std::uint8_t r : kCubeLevels)
    for (std::uint8_t g : kCubeLevels)
      for (std::uint8_t b : kCubeLevels)
        if (!IsCubeCorner(r, g, b)) palette[n++] = Entry(Rgb(r, g, b));
  for (std::uint8_t v : kExtraGreys) palette[n++] = Entry(Rgb(v, v, v));
  return palette;
}

static_assert(std::size(kNamedColors) + 6 * 6 * 6 - 8 + std::size(kExtraGreys) ==
                  kHalftonePaletteSize,
              "the palette must fill all 256 entries");

constexpr std::array<PaletteEntry, kHalftonePaletteSize> kPalette = BuildPalette();

}  // namespace

const std::array<PaletteEntry, kHalftonePaletteSize>& HalftonePalette() {
  return kPalette;
}

int NearestPaletteIndex(std::span<const PaletteEntry> palette, TColor color) {
  const int r = RedOf(color), g = GreenOf(color), b = BlueOf(color);
  const std::size_t count = std::min<std::size_t>(palette.size(), 256);
  int best = -1, bestDistance = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const PaletteEntry& e = palette[i];
    const int d = std::abs(e.red - r) + std::abs(e.green - g) + std::abs(e.blue - b);
    if (d == 0) return int(i);
    if (best < 0 || d < bestDistance) {
      best = int(i);
      bestDistance = d;
    }
  }
  return best;
}

}  // namespace glyphary
