// The shadow: the shape moved by the offset, then blurred by three box
// blurs in each direction, an integer approximation of a Gaussian whose
// radii add up to the blur's reach, so that it spreads no further.
#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "render/effect.h"

namespace glyphary {
namespace {

// Three radii adding up to the reach, the larger ones last.
std::array<int, 3> BoxRadii(int reach) {
  const int first = reach / 3, second = (reach - first) / 2;
  return {first, second, reach - first - second};
}

// A sum of n values divided by n, rounded, without a division per pixel:
// sums stay below 255 n, so 32 bits hold the product.
class MeanOf {
 public:
  explicit MeanOf(int n) : scale_(65536u / unsigned(n)) {}
  std::uint8_t operator()(std::uint32_t sum) const {
    return std::uint8_t((sum * scale_ + 32768u) >> 16);
  }

 private:
  std::uint32_t scale_;
};

// One box blur of radius r along a row of n values, in place; values past
// the ends are 0, as the layer leaves room for the spread. Running totals
// first, alone in their serial loop, so that the means vectorise.
void BlurRow(std::uint8_t* row, int n, int r, std::vector<std::uint32_t>& totals) {
  // totals[i]: the sum of the values before i − r.
  totals.assign(std::size_t(n + 2 * r + 1), 0);
  std::uint32_t total = 0;
  for (int i = 0; i < n; ++i) totals[i + r + 1] = total += row[i];
  std::fill(totals.begin() + (n + r + 1), totals.end(), total);
  const MeanOf mean(2 * r + 1);
  const std::uint32_t* __restrict t = totals.data();
  for (int x = 0; x < n; ++x) row[x] = mean(t[x + 2 * r + 1] - t[x]);
}

// One box blur of radius r down the columns of `from` into `to`.
void BlurColumns(const AlphaLayer& from, AlphaLayer& to, int r) {
  const int width = from.width, height = from.height;
  const MeanOf mean(2 * r + 1);
  std::vector<std::uint32_t> sums(std::size_t(width), 0);
  const auto add = [&](int y) {
    if (y < 0 || y >= height) return;
    const std::uint8_t* row = from.Row(y);
    for (int x = 0; x < width; ++x) sums[x] += row[x];
  };
  const auto remove = [&](int y) {
    if (y < 0 || y >= height) return;
    const std::uint8_t* row = from.Row(y);
    for (int x = 0; x < width; ++x) sums[x] -= row[x];
  };
  for (int y = -r; y < r; ++y) add(y);
  for (int y = 0; y < height; ++y) {
    add(y + r);
    std::uint8_t* out = to.Row(y);
    for (int x = 0; x < width; ++x) out[x] = mean(sums[x]);
    remove(y - r);
  }
}

void Blur(AlphaLayer& layer, int reach) {
  const std::array<int, 3> radii = BoxRadii(reach);
  std::vector<std::uint32_t> totals;
  for (int y = 0; y < layer.height; ++y) {
    std::uint8_t* row = layer.Row(y);
    if (std::all_of(row, row + layer.width, [](std::uint8_t a) { return a == 0; })) continue;
    for (const int r : radii)
      if (r > 0) BlurRow(row, layer.width, r, totals);
  }
  AlphaLayer other(layer.width, layer.height);
  for (const int r : radii) {
    if (r == 0) continue;
    BlurColumns(layer, other, r);
    std::swap(layer, other);
  }
}

// The shape moved right by dx and down by dy; what leaves the layer is lost.
AlphaLayer Moved(const AlphaLayer& shape, int dx, int dy) {
  AlphaLayer out(shape.width, shape.height);
  const int from = std::clamp(dx, 0, shape.width),
            to = std::clamp(shape.width + dx, 0, shape.width);
  for (int y = std::max(0, dy); y < std::min(shape.height, shape.height + dy); ++y)
    std::copy_n(shape.Row(y - dy) + (from - dx), std::max(0, to - from), out.Row(y) + from);
  return out;
}

}  // namespace

AlphaLayer ShadowOf(const AlphaLayer& shape, const EffectReach& reach) {
  AlphaLayer shadow = Moved(shape, reach.shadowX, reach.shadowY);
  if (reach.blur > 0 && !shadow.Empty()) Blur(shadow, reach.blur);
  return shadow;
}

}  // namespace glyphary
