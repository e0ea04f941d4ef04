// The working image of a caption: twice the point size, filled with the
// background, the text blended in with 2 × 2 supersampling, cropped to its ink.
#include "render/caption.h"

#include <glib.h>

#include <cstdlib>

namespace glyphary {
namespace {

[[noreturn]] void TooLarge() {
  throw Error(kCaptionTooLarge);
}

std::int64_t EmEstimate(std::int32_t height) {
  return height == 0 ? 12 : std::llabs(height);
}

// Refuses texts whose scratch line could not be laid out at all, before Pango
// is asked to measure them; no glyph is wider than four em.
void CheckLineFits(const std::string& text, std::int32_t scratchHeight) {
  const glong characters = g_utf8_strlen(text.data(), gssize(text.size()));
  if (std::int64_t(characters) * EmEstimate(scratchHeight) * 4 > kMaxScratchLinePixels) TooLarge();
}

}  // namespace

FontDescription WorkingFont(const CaptionStyle& style, const FontEngine& engine) {
  const std::int64_t points = 2 * std::int64_t(style.pointSize);
  // The scratch font has twice this size again.
  if (std::llabs(points) * 2 * engine.Dpi() / 72 > kMaxScratchEmPixels) TooLarge();
  FontDescription font;
  const std::string face = CutFaceName(style.faceName);
  font.faceName = face.empty() ? kDefaultFaceName : face;
  font.height = engine.HeightFromPoints(std::int32_t(points));
  font.shiftJis = true;
  font.bold = style.bold;
  font.italic = style.italic;
  font.underline = style.underline;
  font.color = style.textColor;
  return font;
}

void RenderWorkingCaption(Bitmap& target, const std::string& text, const CaptionStyle& style,
                          FontEngine& engine, const ScratchLimits& limits) {
  target = Bitmap(0, 0, 32);
  const FontDescription font = WorkingFont(style, engine);
  const bool shiftJis = FontEngine::IsShiftJisFont(font.faceName);
  CheckLineFits(text, ScratchFont(font, shiftJis, engine).height);

  const int lineH = engine.Extent(font, "gM").cy;
  const std::int64_t h = lineH + lineH / 2;
  const std::int64_t w = 2 * std::int64_t(engine.Extent(font, text).cx);
  if (w > kMaxWorkingSide || h > kMaxWorkingSide || std::size_t(w * h * 4) > kMaxWorkingBytes)
    TooLarge();

  // With the brush set first, sizing fills the image with the background:
  // the same pixels as sizing to H, then W, and then filling, in one pass.
  target.SetBrushColor(style.backgroundColor);
  target.SetSize(int(w), int(h));
  DrawAntialiasedText(target, 0, 0, font, text, shiftJis, engine, limits);
  TrimToContent(target, style.backgroundColor);
}

}  // namespace glyphary
