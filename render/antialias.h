// Internals of the anti-aliased text drawing, open to tests and benchmarks.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "render/page_bytes.h"
#include "render/render.h"

namespace glyphary {

// Blends `count` destination pixels (32-bit, from `dest`) with the text colour
// by the coverage of 2 × 2 blocks of two scratch rows (32-bit, from their
// column 0; only the first byte of a scratch pixel is read). `color` is resolved.
void BlendScratchRows(std::uint8_t* dest, const std::uint8_t* scratch0,
                      const std::uint8_t* scratch1, int count, TColor color);

// The font the scratch is drawn with: twice the size in points, as read back
// from the pixel height, and the character set the caller chose.
FontDescription ScratchFont(const FontDescription& font, bool shiftJis, const FontEngine& engine);

// How much of the scratch exists at a time. It is read two rows at a time,
// so it is drawn in bands of rows, and in tiles of columns where it is wider
// than Cairo can draw.
struct ScratchLimits {
  int maxTileWidth = 32766;  // Cairo's limit is 32767 a side; even
  // Per band, and kept by the engine for the next caption. Larger bands draw
  // no faster; this bounds what a large caption adds to the peak.
  std::size_t maxBandBytes = 1u << 20;
};

void DrawAntialiasedText(Bitmap& destination, int x, int y, const FontDescription& font,
                         const std::string& text, bool shiftJis, FontEngine& engine,
                         const ScratchLimits& limits);

// Averages the first bytes of the 2 × 2 blocks of two scratch rows into
// `count` coverage bytes: 255 where the block is white, 0 where it is black.
void ReduceScratchRows(std::uint8_t* coverage, const std::uint8_t* scratch0,
                       const std::uint8_t* scratch1, int count);

// What DrawAntialiasedText at (0, 0) would blend into an image of a given
// size, one coverage byte a pixel; blending coverage c keeps c + 1 parts in
// 256 of the destination. Pixels outside width × height get no ink.
struct Coverage {
  int width = 0, height = 0;
  PageBytes values;  // rows top first, `width` bytes each

  const std::uint8_t* Row(int y) const { return values.Data() + std::size_t(y) * width; }
  std::uint8_t* Row(int y) { return values.Data() + std::size_t(y) * width; }
  // Rows above y are no longer needed: their memory may go back.
  void ForgetRowsBefore(int y) { values.ForgetBefore(std::size_t(std::max(y, 0)) * width); }
};

Coverage DrawCoverage(int width, int height, const FontDescription& font, const std::string& text,
                      bool shiftJis, FontEngine& engine, const ScratchLimits& limits);

}  // namespace glyphary
