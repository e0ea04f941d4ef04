// The working image of a caption: twice the point size, filled with the
// background, the text blended in with 2 × 2 supersampling, cropped to its ink.
#include "render/caption.h"

#include <glib.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "render/font_description.h"

namespace glyphary {
namespace {

[[noreturn]] void TooLarge() {
  throw Error(kCaptionTooLarge);
}

// Em height in pixels of a font height, the engine's default for 0; about
// the em where the height is a cell height.
std::int64_t EmOf(std::int32_t height) {
  return height == 0 ? 12 : std::llabs(height);
}

// Pango lays a line out in 32-bit units of 1/1024 pixel, which a long line at
// a large size overflows. So a line that might not fit is measured at a small
// height, in pieces that cannot overflow there, and the sum scaled up.
constexpr std::int32_t kProbeHeight = 8;
constexpr std::size_t kProbeCharacters = 8192;

std::int64_t ProbeWidth(const std::string& text, const FontDescription& scratchFont,
                        FontEngine& engine) {
  FontDescription probe = scratchFont;
  probe.height = scratchFont.height > 0 ? kProbeHeight : -kProbeHeight;
  // The letter spacing is added by the caller; vertical advances are about
  // the horizontal ones.
  probe.flow = {};
  std::int64_t width = 0;
  const char* begin = text.data();
  const char* const end = text.data() + text.size();
  while (begin < end) {
    const char* piece = begin;
    for (std::size_t n = 0; n < kProbeCharacters && piece < end; ++n) {
      const char* next = g_utf8_find_next_char(piece, end);
      piece = next ? next : end;
    }
    width += engine.Extent(probe, std::string(begin, piece)).cx;
    begin = piece;
  }
  return width * EmOf(scratchFont.height) / kProbeHeight;
}

// Refuses a text whose scratch lines cannot be laid out. Short lines are let
// through unmeasured: no glyph is wider than eight em.
void CheckLineFits(const std::string& line, const FontDescription& scratchFont,
                   FontEngine& engine) {
  const std::int64_t em = EmOf(scratchFont.height);
  const std::int64_t characters = g_utf8_strlen(line.data(), gssize(line.size()));
  const std::int64_t spacing = characters * std::int64_t(std::ceil(scratchFont.flow.letterSpacing));
  if (characters * em * 8 + spacing <= kMaxScratchLinePixels) return;
  // A margin for the rounding of the pieces' advances.
  if (ProbeWidth(line, scratchFont, engine) + spacing >
      kMaxScratchLinePixels - kMaxScratchLinePixels / 64)
    TooLarge();
}

// Each line must fit, and so must all of them stacked: a line's distance is
// at most three of its own heights, and no line is higher than two em.
void CheckLinesFit(const std::string& text, const FontDescription& scratchFont,
                   FontEngine& engine) {
  const std::string lines = WithLineFeeds(text);
  std::int64_t count = 0;
  for (std::size_t begin = 0; begin <= lines.size(); ++count) {
    const std::size_t end = std::min(lines.find('\n', begin), lines.size());
    CheckLineFits(lines.substr(begin, end - begin), scratchFont, engine);
    begin = end + 1;
  }
  if (count * EmOf(scratchFont.height) * 6 > kMaxScratchLinePixels) TooLarge();
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
  const CaptionLayout& layout = style.layout;
  font.flow = {layout.vertical, layout.align,
               std::clamp(layout.lineSpacing, kMinLineSpacing, kMaxLineSpacing),
               2.0 * std::clamp(layout.letterSpacing, kMinLetterSpacing, kMaxLetterSpacing)};
  return font;
}

WorkingCoverage DrawWorkingCoverage(const std::string& text, const CaptionStyle& style,
                                    FontEngine& engine, const ScratchLimits& limits) {
  const FontDescription font = WorkingFont(style, engine);
  const bool shiftJis = FontEngine::IsShiftJisFont(font.faceName);
  const FontDescription scratchFont = ScratchFont(font, shiftJis, engine);
  CheckLinesFit(text, scratchFont, engine);

  // Along the lines twice the longest advance; across them a line and a
  // half, and the distance to the last line. Vertical text turns both.
  const int lineH = engine.Extent(font, "gM").cy;
  const TextExtent extent = engine.Extent(font, text);
  const std::int64_t along = 2 * std::int64_t(extent.cx);
  const std::int64_t across = lineH + lineH / 2 + std::int64_t(extent.stack);
  const std::int64_t w = font.flow.vertical ? across : along;
  const std::int64_t h = font.flow.vertical ? along : across;
  if (w > kMaxWorkingSide || h > kMaxWorkingSide || std::size_t(w * h * 4) > kMaxWorkingBytes)
    TooLarge();

  // The working image w × h is never made: only the text's blocks hold
  // anything but background, and the trim keeps little more than those.
  // Where ink reaches past it, the trim's frame grows to hold the ink.
  WorkingCoverage working{DrawCoverage(font, text, shiftJis, engine, limits), int(w), int(h)};
  if (style.effect.gradient) {
    for (const PixelBox& span : engine.InkSpans(scratchFont, text))
      working.spans.push_back(WorkingSpan(span));
    working.vertical = font.flow.vertical;
  }
  return working;
}

Bitmap TrimmedWorkingCaption(const std::string& text, const CaptionStyle& style, FontEngine& engine,
                             int bitsPerPixel, const ScratchLimits& limits) {
  const WorkingCoverage working = DrawWorkingCoverage(text, style, engine, limits);
  return TrimmedFromCoverage(working.coverage, working.width, working.height, style.backgroundColor,
                             style.textColor, bitsPerPixel);
}

void RenderWorkingCaption(Bitmap& target, const std::string& text, const CaptionStyle& style,
                          FontEngine& engine, const ScratchLimits& limits) {
  target = Bitmap(0, 0, 32);
  target = TrimmedWorkingCaption(text, style, engine, 32, limits);
}

}  // namespace glyphary
