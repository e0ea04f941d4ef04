// Text with smooth edges in any colour: drawn black on white at twice the
// size, every 2 × 2 block of that scratch is one coverage value.
#include "render/antialias.h"
#include "render/uncut_layout.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace glyphary {
namespace {

// Block (k, r) of the scratch is its columns 2k, 2k + 1 and rows 2r + 1,
// 2r + 2: rows pair from row 1 of the text cell, columns from column 0.
// The blocks that hold every pixel of a box of scratch pixels:
PixelBox BlocksCovering(const PixelBox& scratch) {
  if (scratch.Empty()) return {};
  return {scratch.left >> 1, (scratch.top - 1) >> 1, ((scratch.right - 1) >> 1) + 1,
          ((scratch.bottom - 2) >> 1) + 1};
}

// Draws the scratch of a box of blocks band by band and hands each pair of
// scratch rows to `use(row, column, scratch0, scratch1, count)`, for the
// box's blocks row … and column … count − 1, counted from its corner. The
// plain glyphs are drawn black on white, the colour glyphs over transparency.
template <typename UseRowPair>
void DrawScratchBands(const PixelBox& blocks, const FontDescription& scratchFont,
                      const std::string& text, FontEngine& engine, const ScratchLimits& limits,
                      GlyphPass pass, UseRowPair&& use) {
  const int allColumns = blocks.right - blocks.left, allRows = blocks.bottom - blocks.top;
  const int tileHalf = std::max(1, std::min(allColumns, limits.maxTileWidth / 2));
  for (int k0 = 0; k0 < allColumns; k0 += tileHalf) {
    const int columns = std::min(tileHalf, allColumns - k0);
    const int stride = 8 * columns;
    const std::size_t pairBytes = 2 * std::size_t(stride);
    const int bandHalf = int(std::clamp<std::size_t>(limits.maxBandBytes / pairBytes, 1, 16383));
    for (int r0 = 0; r0 < allRows; r0 += bandHalf) {
      const int rows = std::min(bandHalf, allRows - r0);
      const std::span<std::uint8_t> band = engine.Scratch(pairBytes * std::size_t(rows));
      const int x = 2 * (blocks.left + k0), y = 2 * (blocks.top + r0) + 1;
      if (pass == GlyphPass::Colour) {
        std::memset(band.data(), 0, band.size());
        engine.DrawColorGlyphs(scratchFont, text, band.data(), 2 * columns, 2 * rows, stride, x, y);
      } else {
        std::memset(band.data(), 0xFF, band.size());
        engine.DrawBlackText(scratchFont, text, band.data(), 2 * columns, 2 * rows, stride, x, y);
      }
      for (int r = 0; r < rows; ++r) {
        const std::uint8_t* s0 = band.data() + pairBytes * std::size_t(r);
        use(r0 + r, k0, s0, s0 + stride, columns);
      }
    }
  }
}

// The colour glyphs over the blocks that hold them, within the coverage's.
ColourPatch CoverColour(const PixelBox& within, const FontDescription& scratchFont,
                        const std::string& text, FontEngine& engine, const ScratchLimits& limits) {
  const PixelBox b = BlocksCovering(engine.ColorInkBox(scratchFont, text));
  const PixelBox blocks{std::max(b.left, within.left), std::max(b.top, within.top),
                        std::min(b.right, within.right), std::min(b.bottom, within.bottom)};
  if (blocks.Empty()) return {};
  ColourPatch patch{
      blocks.left, blocks.top, blocks.right - blocks.left, blocks.bottom - blocks.top, {}};
  patch.pixels.resize(std::size_t(patch.width) * patch.height * 4);
  DrawScratchBands(
      blocks, scratchFont, text, engine, limits, GlyphPass::Colour,
      [&](int row, int column, const std::uint8_t* s0, const std::uint8_t* s1, int count) {
        ReduceColourRows(patch.Row(row) + 4 * column, s0, s1, count);
      });
  return patch;
}

Coverage CoverBlocks(const PixelBox& blocks, const FontDescription& scratchFont,
                     const std::string& text, FontEngine& engine, const ScratchLimits& limits) {
  if (blocks.Empty()) return {};
  const std::size_t width = std::size_t(blocks.right - blocks.left);
  const std::size_t height = std::size_t(blocks.bottom - blocks.top);
  if (width * height > limits.maxCoverageBytes) throw Error(kCaptionTooLarge);
  // Every byte is written below.
  Coverage coverage{blocks.left, blocks.top, int(width), int(height), PageBytes(width * height)};
  DrawScratchBands(
      blocks, scratchFont, text, engine, limits, GlyphPass::Plain,
      [&](int row, int column, const std::uint8_t* s0, const std::uint8_t* s1, int count) {
        ReduceScratchRows(coverage.Row(row) + column, s0, s1, count);
      });
  return coverage;
}

bool Inked(const std::uint8_t* values, int count, std::size_t step) {
  for (int i = 0; i < count; ++i)
    if (values[std::size_t(i) * step] != 255) return true;
  return false;
}

// The sides of the box whose outermost blocks hold ink, so that ink may lie
// beyond them: each such side moved out by `step` blocks.
PixelBox Widened(const Coverage& c, int step) {
  const std::size_t w = std::size_t(c.width);
  PixelBox box{c.left, c.top, c.Right(), c.Bottom()};
  if (Inked(c.Row(0), c.width, 1)) box.top -= step;
  if (Inked(c.Row(c.height - 1), c.width, 1)) box.bottom += step;
  if (Inked(c.Row(0), c.height, w)) box.left -= step;
  if (Inked(c.Row(0) + w - 1, c.height, w)) box.right += step;
  return box;
}

}  // namespace

FontDescription ScratchFont(const FontDescription& font, bool shiftJis, const FontEngine& engine) {
  FontDescription scratch = font;
  const std::int64_t doubled = 2 * std::int64_t(engine.PointsFromHeight(font.height));
  if (doubled > std::numeric_limits<std::int32_t>::max() ||
      doubled < std::numeric_limits<std::int32_t>::min())
    throw Error(kCaptionTooLarge);
  scratch.height = engine.HeightFromPoints(std::int32_t(doubled));
  scratch.shiftJis = shiftJis;
  scratch.flow.letterSpacing = 2 * font.flow.letterSpacing;
  return scratch;
}

Coverage DrawCoverageFrom(const PixelBox& start, const FontDescription& scratchFont,
                          const std::string& text, FontEngine& engine,
                          const ScratchLimits& limits) {
  PixelBox blocks = start;
  int step = std::max(8, (blocks.bottom - blocks.top) / 4);
  for (int attempt = 0;; ++attempt, step *= 2) {
    Coverage coverage = CoverBlocks(blocks, scratchFont, text, engine, limits);
    if (coverage.width == 0) return coverage;
    const PixelBox widened = Widened(coverage, step);
    if (widened == blocks || attempt == 8) {
      // Colour glyphs are bitmaps: Pango measures their ink exactly.
      if (engine.HasColorGlyphs(scratchFont, text))
        coverage.colour = CoverColour(blocks, scratchFont, text, engine, limits);
      return coverage;
    }
    blocks = widened;
  }
}

Coverage DrawCoverage(const FontDescription& font, const std::string& text, bool shiftJis,
                      FontEngine& engine, const ScratchLimits& limits) {
  const FontDescription scratchFont = ScratchFont(font, shiftJis, engine);
  // The ink box has room to spare; should ink still reach an edge, that side
  // is drawn again further out until no ink is lost.
  return DrawCoverageFrom(BlocksCovering(engine.InkBox(scratchFont, text)), scratchFont, text,
                          engine, limits);
}

}  // namespace glyphary
