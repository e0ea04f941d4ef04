// Exact 2:1 reduction in both directions. With whole-pixel boundaries the
// area average of two pixels is ((a + b) * 2^18 + 2^17) * 2^21 >> 40, which
// is (a + b) >> 1; the width pass rounds before the height pass sees it.
#include "render/stretch.h"

namespace glyphary {
namespace {

inline std::uint8_t Mean(unsigned a, unsigned b) {
  return std::uint8_t((a + b) >> 1);
}

void HalveRows(const std::uint8_t* __restrict top, const std::uint8_t* __restrict bottom,
               std::uint8_t* __restrict dst, int width) {
  for (int c = 0; c < width; ++c, top += 6, bottom += 6, dst += 3)
    for (int k = 0; k < 3; ++k)
      dst[k] = Mean(Mean(top[k], top[k + 3]), Mean(bottom[k], bottom[k + 3]));
}

}  // namespace

void HalveBitmap(const Bitmap& source, Bitmap& destination) {
  const int width = destination.Width();
  for (int r = 0; r < destination.Height(); ++r)
    HalveRows(source.Row(2 * r), source.Row(2 * r + 1), destination.Row(r), width);
}

}  // namespace glyphary
