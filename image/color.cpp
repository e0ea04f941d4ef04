#include <array>

#include "image/image.h"

namespace glyphary {
namespace {

// Our resolution of the system colours 0..30: a classic light desktop theme,
// fixed so that captions look the same on every machine.
constexpr std::array<TColor, 31> kSystemColors = {
    Rgb(212, 208, 200),  // 0 scroll bar
    Rgb(58, 110, 165),   // 1 desktop background
    Rgb(10, 36, 106),    // 2 active caption
    Rgb(128, 128, 128),  // 3 inactive caption
    Rgb(212, 208, 200),  // 4 menu
    Rgb(255, 255, 255),  // 5 window
    Rgb(0, 0, 0),        // 6 window frame
    Rgb(0, 0, 0),        // 7 menu text
    Rgb(0, 0, 0),        // 8 window text
    Rgb(255, 255, 255),  // 9 caption text
    Rgb(212, 208, 200),  // 10 active border
    Rgb(212, 208, 200),  // 11 inactive border
    Rgb(128, 128, 128),  // 12 application workspace
    Rgb(10, 36, 106),    // 13 highlight
    Rgb(255, 255, 255),  // 14 highlight text
    Rgb(212, 208, 200),  // 15 button face
    Rgb(128, 128, 128),  // 16 button shadow
    Rgb(128, 128, 128),  // 17 grey text
    Rgb(0, 0, 0),        // 18 button text
    Rgb(212, 208, 200),  // 19 inactive caption text
    Rgb(255, 255, 255),  // 20 button highlight
    Rgb(64, 64, 64),     // 21 3D dark shadow
    Rgb(212, 208, 200),  // 22 3D light
    Rgb(0, 0, 0),        // 23 tooltip text
    Rgb(255, 255, 225),  // 24 tooltip background
    Rgb(181, 181, 181),  // 25 (unused)
    Rgb(0, 0, 128),      // 26 hot light
    Rgb(166, 202, 240),  // 27 gradient active caption
    Rgb(192, 192, 192),  // 28 gradient inactive caption
    Rgb(49, 106, 197),   // 29 menu highlight
    Rgb(236, 233, 216),  // 30 menu bar
};

}  // namespace

bool IsSystemColor(TColor c) {
  return (c & 0xFF000000u) == 0x80000000u;
}

TColor ColorToRGB(TColor c) {
  if (!IsSystemColor(c)) return c;
  const TColor index = c & 0xFF;
  // Unknown numbers resolve to black, like a missing system colour would.
  return index < kSystemColors.size() ? kSystemColors[index] : kColorBlack;
}

}  // namespace glyphary
