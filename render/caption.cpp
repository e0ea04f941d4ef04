// A caption: the working image at twice the point size, halved with an area
// average, so each pixel rests on about sixteen samples of the rasteriser.
#include "render/caption.h"

namespace glyphary {

void RenderCaption(Bitmap& target, const std::string& text, const CaptionStyle& style,
                   FontEngine& engine) {
  RenderWorkingCaption(target, text, style, engine);
  StretchBitmap(target, target.Width() / 2, target.Height() / 2);
}

}  // namespace glyphary
