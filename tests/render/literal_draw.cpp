// Text blended into a destination bitmap, as the caption pipeline's working
// image would take it: the coverage of the text at (x, y) in the font's colour.
#include <algorithm>

#include "literal_steps.h"

namespace glyphary {

void DrawAntialiasedText(Bitmap& destination, int x, int y, const FontDescription& font,
                         const std::string& text, bool shiftJis, FontEngine& engine,
                         const ScratchLimits& limits) {
  const TColor color = ColorToRGB(font.color);
  const Coverage c = DrawCoverage(font, text, shiftJis, engine, limits);
  const int left = std::max(0, x + c.left), right = std::min(destination.Width(), x + c.Right());
  if (left >= right) return;
  for (int r = 0; r < c.height; ++r) {
    const int row = y + c.top + r;
    if (row < 0 || row >= destination.Height()) continue;
    BlendCoverage(destination.Row(row) + 4 * std::size_t(left), c.Row(r) + (left - x - c.left),
                  right - left, color);
  }
}

}  // namespace glyphary
