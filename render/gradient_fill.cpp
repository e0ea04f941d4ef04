// The gradient fill: each pixel's share of the second colour, by where it
// lies in its line's ink, or in vertical text its character's.
#include <algorithm>
#include <cmath>

#include "render/effect.h"

namespace glyphary {
namespace {

double Outside(double at, double from, double to) {
  return at < from ? from - at : at > to ? at - to : 0;
}

// 0 at the span's top, 256 at its bottom, held beyond them.
std::uint16_t ShareIn(const InkSpan& span, double y) {
  const double height = span.bottom - span.top;
  if (height <= 0) return 0;
  return std::uint16_t(std::lround(256 * std::clamp((y - span.top) / height, 0.0, 1.0)));
}

// The span that holds the pixel's centre, else the nearest: across the
// lines first (its column, in vertical text), then along them.
const InkSpan& SpanOf(const std::vector<InkSpan>& spans, double x, double y, bool vertical) {
  const InkSpan* best = &spans.front();
  double bestAcross = 1e300, bestAlong = 1e300;
  for (const InkSpan& s : spans) {
    const double across = vertical ? Outside(x, s.left, s.right) : 0;
    const double along = Outside(y, s.top, s.bottom);
    if (across < bestAcross || (across == bestAcross && along < bestAlong)) {
      best = &s;
      bestAcross = across;
      bestAlong = along;
    }
  }
  return *best;
}

}  // namespace

void GradientShares(const EffectLayers& layers, int y, int x, int count, std::uint16_t* shares) {
  const std::vector<InkSpan>& spans = layers.spans;
  if (spans.empty()) {
    std::fill_n(shares, count, std::uint16_t(0));
    return;
  }
  const double cy = y + 0.5;
  if (!layers.verticalSpans) {
    std::fill_n(shares, count, ShareIn(SpanOf(spans, 0, cy, false), cy));
    return;
  }
  for (int i = 0; i < count; ++i) shares[i] = ShareIn(SpanOf(spans, x + i + 0.5, cy, true), cy);
}

}  // namespace glyphary
