// Text with smooth edges in any colour: drawn black on white at twice the
// size, every 2 × 2 block of that scratch is one coverage value.
#include <algorithm>
#include <cstring>
#include <limits>

#include "render/antialias.h"

namespace glyphary {

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
  const TextExtent extent = engine.Extent(scratchFont, text);
  // The scratch holds the underline too where it lies below the line.
  int halfW = extent.cx / 2, halfH = extent.drawnCy / 2;
  if (destination.Width() < x + halfW) halfW = destination.Width() - x;
  if (destination.Height() < y + halfH) halfH = destination.Height() - y;
  if (halfH <= 0 || halfW <= 0) return;

  // The scratch is (2·halfW + 1) × (2·halfH + 1); its row 0 and last column
  // are never read, so only rows 1 … 2·halfH and columns 0 … 2·halfW − 1 are drawn.
  const int tileHalf = std::max(1, std::min(halfW, limits.maxTileWidth / 2));
  for (int k0 = 0; k0 < halfW; k0 += tileHalf) {
    const int columns = std::min(tileHalf, halfW - k0);
    const int stride = 8 * columns;
    const std::size_t pairBytes = 2 * std::size_t(stride);
    const int bandHalf = int(std::clamp<std::size_t>(limits.maxBandBytes / pairBytes, 1, 16383));
    for (int r0 = 0; r0 < halfH; r0 += bandHalf) {
      const int rows = std::min(bandHalf, halfH - r0);
      const std::span<std::uint8_t> band = engine.Scratch(pairBytes * std::size_t(rows));
      std::memset(band.data(), 0xFF, band.size());
      engine.DrawBlackText(scratchFont, text, band.data(), 2 * columns, 2 * rows, stride, 2 * k0,
                           2 * r0 + 1);
      for (int r = 0; r < rows; ++r) {
        const std::uint8_t* s0 = band.data() + pairBytes * std::size_t(r);
        BlendScratchRows(destination.Row(y + r0 + r) + 4 * std::size_t(x + k0), s0, s0 + stride,
                         columns, color);
      }
    }
  }
}

void DrawAntialiasedText(Bitmap& destination, int x, int y, const FontDescription& font,
                         const std::string& text, bool shiftJis, FontEngine& engine) {
  DrawAntialiasedText(destination, x, y, font, text, shiftJis, engine, ScratchLimits{});
}

}  // namespace glyphary
