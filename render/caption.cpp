// A caption: the working image at twice the point size, halved with an area
// average, so each pixel rests on about sixteen samples of the rasteriser.
#include "render/caption.h"

namespace glyphary {

void RenderCaption(Bitmap& target, const std::string& text, const CaptionStyle& style,
                   FontEngine& engine) {
  target = Bitmap(0, 0, 32);
  // At 24 bits already: the halving would otherwise convert a second copy.
  Bitmap trimmed = TrimmedWorkingCaption(text, style, engine, 24);
  StretchBitmap(trimmed, trimmed.Width() / 2, trimmed.Height() / 2);
  target = std::move(trimmed);
}

}  // namespace glyphary
