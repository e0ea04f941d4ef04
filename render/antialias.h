// Internals of the anti-aliased text drawing, open to tests and benchmarks.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "render/page_bytes.h"
#include "render/render.h"

namespace glyphary {

// The message for a caption that is too large to be made.
inline constexpr char kCaptionTooLarge[] = "文字サイズが大きすぎるため画像を作成できません";

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
  // One byte per working pixel that the text may ink.
  std::size_t maxCoverageBytes = std::size_t(128) << 20;
};

// Averages the first bytes of the 2 × 2 blocks of two scratch rows into
// `count` coverage bytes: 255 where the block is white, 0 where it is black.
void ReduceScratchRows(std::uint8_t* coverage, const std::uint8_t* scratch0,
                       const std::uint8_t* scratch1, int count);

// Averages the 2 × 2 blocks of two rows of premultiplied 32-bit pixels into
// `count` pixels, each channel rounded to the nearest.
void ReduceColourRows(std::uint8_t* colour, const std::uint8_t* scratch0,
                      const std::uint8_t* scratch1, int count);

// A box of the scratch in working pixels: block (k, r) is scratch columns
// 2k, 2k + 1 and rows 2r + 1, 2r + 2.
struct InkSpan {
  double left = 0, top = 0, right = 0, bottom = 0;
};
constexpr InkSpan WorkingSpan(const PixelBox& scratch) {
  return {scratch.left / 2.0, (scratch.top - 1) / 2.0, scratch.right / 2.0,
          (scratch.bottom - 1) / 2.0};
}

// Glyphs in colours of their own over a box of blocks of their own, in the
// same coordinates as the coverage: premultiplied blue, green, red and
// alpha a value, rows top first. Empty when the text has none.
struct ColourPatch {
  int left = 0, top = 0, width = 0, height = 0;
  std::vector<std::uint8_t> pixels;

  bool Empty() const { return pixels.empty(); }
  int Right() const { return left + width; }
  int Bottom() const { return top + height; }
  const std::uint8_t* Row(int y) const { return pixels.data() + std::size_t(y) * width * 4; }
  std::uint8_t* Row(int y) { return pixels.data() + std::size_t(y) * width * 4; }
};

// What the text blends into an image, one coverage byte a destination pixel
// (255 where the text inks nothing), over a box that holds all of the text's
// ink. The box is placed relative to the text cell's top-left, so it may
// start left of or above it; outside it the text inks nothing.
struct Coverage {
  int left = 0, top = 0;  // where the first value lies
  int width = 0, height = 0;
  PageBytes values;  // rows top first, `width` bytes each
  ColourPatch colour{};

  int Right() const { return left + width; }
  int Bottom() const { return top + height; }
  bool HasColour() const { return !colour.Empty(); }

  // Rows by their index in the box, 0 … height − 1.
  const std::uint8_t* Row(int y) const { return values.Data() + std::size_t(y) * width; }
  std::uint8_t* Row(int y) { return values.Data() + std::size_t(y) * width; }
  // Rows above index y are no longer needed: their memory may go back.
  void ForgetRowsBefore(int y) {
    values.ForgetBefore(std::size_t(std::clamp(y, 0, height)) * width);
  }
};

// Throws Error when the text's ink needs more than limits.maxCoverageBytes.
Coverage DrawCoverage(const FontDescription& font, const std::string& text, bool shiftJis,
                      FontEngine& engine, const ScratchLimits& limits);
// The same from a box of blocks (block (k, r) is scratch columns 2k, 2k + 1
// and rows 2r + 1, 2r + 2), moved out on every side where ink reaches it.
Coverage DrawCoverageFrom(const PixelBox& startBlocks, const FontDescription& scratchFont,
                          const std::string& text, FontEngine& engine, const ScratchLimits& limits);

}  // namespace glyphary
