// Text with smooth edges in any colour: drawn black on white at twice the
// size, every 2 × 2 block of that scratch is one coverage value.
#include <algorithm>
#include <cstring>
#include <limits>

#include "render/antialias.h"

namespace glyphary {
namespace {

// The blocks the destination takes from the scratch at (x, y): the extent
// halved, clipped to the destination.
struct Blocks {
  int columns = 0, rows = 0;
};

Blocks BlocksWithin(const TextExtent& extent, int width, int height, int x, int y) {
  // The scratch holds the underline too where it lies below the line.
  Blocks b{extent.cx / 2, extent.drawnCy / 2};
  if (width < x + b.columns) b.columns = width - x;
  if (height < y + b.rows) b.rows = height - y;
  if (b.rows <= 0 || b.columns <= 0) return {};
  return b;
}

// Draws the scratch band by band and hands each pair of scratch rows to
// `use(row, column, scratch0, scratch1, count)`, for blocks row … and
// column … count − 1. The scratch is (2·columns + 1) × (2·rows + 1); its
// row 0 and last column are never read, so only rows 1 … 2·rows and columns
// 0 … 2·columns − 1 are drawn.
template <typename UseRowPair>
void DrawScratchBands(const Blocks& blocks, const FontDescription& scratchFont,
                      const std::string& text, FontEngine& engine, const ScratchLimits& limits,
                      UseRowPair&& use) {
  const int tileHalf = std::max(1, std::min(blocks.columns, limits.maxTileWidth / 2));
  for (int k0 = 0; k0 < blocks.columns; k0 += tileHalf) {
    const int columns = std::min(tileHalf, blocks.columns - k0);
    const int stride = 8 * columns;
    const std::size_t pairBytes = 2 * std::size_t(stride);
    const int bandHalf = int(std::clamp<std::size_t>(limits.maxBandBytes / pairBytes, 1, 16383));
    for (int r0 = 0; r0 < blocks.rows; r0 += bandHalf) {
      const int rows = std::min(bandHalf, blocks.rows - r0);
      const std::span<std::uint8_t> band = engine.Scratch(pairBytes * std::size_t(rows));
      std::memset(band.data(), 0xFF, band.size());
      engine.DrawBlackText(scratchFont, text, band.data(), 2 * columns, 2 * rows, stride, 2 * k0,
                           2 * r0 + 1);
      for (int r = 0; r < rows; ++r) {
        const std::uint8_t* s0 = band.data() + pairBytes * std::size_t(r);
        use(r0 + r, k0, s0, s0 + stride, columns);
      }
    }
  }
}

}  // namespace

FontDescription ScratchFont(const FontDescription& font, bool shiftJis, const FontEngine& engine) {
  FontDescription scratch = font;
  const std::int64_t doubled = 2 * std::int64_t(engine.PointsFromHeight(font.height));
  if (doubled > std::numeric_limits<std::int32_t>::max() ||
      doubled < std::numeric_limits<std::int32_t>::min())
    throw Error("文字サイズが大きすぎるため画像を作成できません");
  scratch.height = engine.HeightFromPoints(std::int32_t(doubled));
  scratch.shiftJis = shiftJis;
  return scratch;
}

void DrawAntialiasedText(Bitmap& destination, int x, int y, const FontDescription& font,
                         const std::string& text, bool shiftJis, FontEngine& engine,
                         const ScratchLimits& limits) {
  const TColor color = ColorToRGB(font.color);
  const FontDescription scratchFont = ScratchFont(font, shiftJis, engine);
  const Blocks blocks = BlocksWithin(engine.Extent(scratchFont, text), destination.Width(),
                                     destination.Height(), x, y);
  DrawScratchBands(
      blocks, scratchFont, text, engine, limits,
      [&](int row, int column, const std::uint8_t* s0, const std::uint8_t* s1, int count) {
        BlendScratchRows(destination.Row(y + row) + 4 * std::size_t(x + column), s0, s1, count,
                         color);
      });
}

void DrawAntialiasedText(Bitmap& destination, int x, int y, const FontDescription& font,
                         const std::string& text, bool shiftJis, FontEngine& engine) {
  DrawAntialiasedText(destination, x, y, font, text, shiftJis, engine, ScratchLimits{});
}

Coverage DrawCoverage(int width, int height, const FontDescription& font, const std::string& text,
                      bool shiftJis, FontEngine& engine, const ScratchLimits& limits) {
  const FontDescription scratchFont = ScratchFont(font, shiftJis, engine);
  const Blocks blocks = BlocksWithin(engine.Extent(scratchFont, text), width, height, 0, 0);
  // Every byte is written below.
  Coverage coverage{blocks.columns, blocks.rows,
                    PageBytes(std::size_t(blocks.columns) * std::size_t(blocks.rows))};
  DrawScratchBands(
      blocks, scratchFont, text, engine, limits,
      [&](int row, int column, const std::uint8_t* s0, const std::uint8_t* s1, int count) {
        ReduceScratchRows(coverage.Row(row) + column, s0, s1, count);
      });
  return coverage;
}

}  // namespace glyphary
