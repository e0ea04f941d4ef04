// A caption: the working image at twice the point size, halved with an area
// average, so each pixel rests on about sixteen samples of the rasteriser.
#include "render/caption.h"

#include <utility>

#include "render/effect.h"

namespace glyphary {

void RenderCaption(Bitmap& target, const std::string& text, const CaptionStyle& style,
                   FontEngine& engine) {
  target = Bitmap(0, 0, 32);
  // The trimmed working image is made only a few rows ahead of the halving.
  WorkingCoverage working = DrawWorkingCoverage(text, style, engine);
  if (!style.effect.None()) {
    target = HalvedWithEffect(std::move(working), style);
    return;
  }
  target = HalvedFromCoverage(std::move(working.coverage), working.width, working.height,
                              style.backgroundColor, style.textColor);
}

void RenderAlphaCaption(Bitmap& target, const std::string& text, const CaptionStyle& style,
                        FontEngine& engine) {
  target = Bitmap(0, 0, 32);
  WorkingCoverage working = DrawWorkingCoverage(text, style, engine);
  // Colour glyphs carry their own alpha, as a border's layers do.
  if (!style.effect.None() || working.coverage.HasColour()) {
    target = AlphaWithEffect(std::move(working), style);
    return;
  }
  const CaptionAndInk made =
      HalvedCaptionAndInk(std::move(working.coverage), working.width, working.height,
                          style.backgroundColor, style.textColor);
  target = AlphaCaption(made.caption, made.ink, style.backgroundColor, style.textColor);
}

}  // namespace glyphary
