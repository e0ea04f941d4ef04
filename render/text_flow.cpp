// The geometry of a laid-out text beyond one horizontal line: where its
// lines lie on the device and where their underlines go.
#include <algorithm>
#include <string>

#include "render/font_engine.h"
#include "render/handles.h"

namespace glyphary {

std::string WithLineFeeds(std::string text) {
  std::size_t out = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      text[out++] = '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      text[out++] = text[i];
    }
  }
  text.resize(out);
  return text;
}

PixelBox Placement::ToDevice(const PixelBox& laid) const {
  if (!vertical || laid.Empty()) return laid;
  return {logicalBottom - laid.bottom, laid.left - logicalLeft, logicalBottom - laid.top,
          laid.right - logicalLeft};
}

cairo_matrix_t Placement::Matrix() const {
  cairo_matrix_t m;
  if (vertical)
    // x' = L − y, y' = x − left: exact, so that whole pixels stay whole.
    cairo_matrix_init(&m, 0, 1, -1, 0, logicalBottom, -logicalLeft);
  else
    cairo_matrix_init_identity(&m);
  return m;
}

Placement PlacementOf(PangoLayout* layout, bool vertical) {
  if (!vertical) return {};
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  return {true, PANGO_PIXELS_FLOOR(logical.x), PANGO_PIXELS_CEIL(logical.y + logical.height)};
}

std::vector<PixelBox> UnderlineBars(PangoLayout* layout, const UnderlineMetrics& metrics,
                                    bool vertical, double emPixels) {
  std::vector<PixelBox> bars;
  const int thickness = std::max(1, PANGO_PIXELS(metrics.thickness));
  const LayoutIterPtr lines(pango_layout_get_iter(layout));
  PangoLayoutIter* iter = lines.get();
  do {
    PangoRectangle logical;
    pango_layout_iter_get_line_extents(iter, nullptr, &logical);
    if (logical.width <= 0) continue;
    pango_extents_to_pixels(&logical, nullptr);
    const int baseline = pango_layout_iter_get_baseline(iter);
    // A vertical line's baseline runs through the middle of its characters.
    const int top = vertical ? PANGO_PIXELS(baseline - int(emPixels * PANGO_SCALE / 2)) - thickness
                             : PANGO_PIXELS(baseline - metrics.position);
    bars.push_back({logical.x, top, logical.x + logical.width, top + thickness});
  } while (pango_layout_iter_next_line(iter));
  return bars;
}

}  // namespace glyphary
