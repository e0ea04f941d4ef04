// The border: for every pixel the nearest inked pixel by Euclidean distance,
// found in two separable passes, down and up each column for its nearest
// inked pixel, then along each row for the nearest of those within the
// radius. Every pass runs over whole rows, so that it vectorises; the row
// pass takes 2R + 1 steps a pixel, few at the radii a border has.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "render/effect.h"

namespace glyphary {
namespace {

// Two borders, each up to kMaxOutlineWidth caption pixels: four times that in working pixels.
constexpr int kMaxRadius = 4 * kMaxOutlineWidth;
constexpr std::uint8_t kFarRows = 255;      // no inked pixel in the column within reach
constexpr std::int16_t kFarSquare = 16383;  // beyond every radius, even with a step added
static_assert(kFarSquare + 2 * kMaxRadius * kMaxRadius < 32767, "squares fit in 16 bits");

// round(255 × √k) for every squared distance at which the border still shows.
using Roots = std::array<std::int16_t, (kMaxRadius + 1) * (kMaxRadius + 1)>;
const Roots& ScaledRoots() {
  static const Roots roots = [] {
    Roots r{};
    for (std::size_t k = 0; k < r.size(); ++k)
      r[k] = std::int16_t(std::lround(255 * std::sqrt(double(k))));
    return r;
  }();
  return roots;
}

// For every pixel, the rows to the nearest inked pixel of its column
// (kFarRows beyond the radius) and that pixel's alpha.
struct ColumnNearest {
  AlphaLayer rows, alpha;
};

// One step of a sweep along the columns: the distance since the last inked
// pixel, saturating, and that pixel's alpha.
void Sweep(const std::uint8_t* text, std::uint8_t* distance, std::uint8_t* seen, int width) {
  for (int x = 0; x < width; ++x) {
    const bool inked = text[x] != 0;
    distance[x] = inked ? 0 : std::uint8_t(distance[x] + (distance[x] != kFarRows));
    seen[x] = inked ? text[x] : seen[x];
  }
}

// Where the sweep up found a nearer inked pixel than the sweep down.
void TakeNearer(const std::uint8_t* __restrict distance, const std::uint8_t* __restrict seen,
                std::uint8_t* __restrict rows, std::uint8_t* __restrict alpha, int width) {
  for (int x = 0; x < width; ++x) {
    const auto below = std::uint8_t(-std::uint8_t(distance[x] < rows[x]));
    alpha[x] = std::uint8_t((seen[x] & below) | (alpha[x] & ~below));
    rows[x] = std::uint8_t((distance[x] & below) | (rows[x] & ~below));
  }
}

ColumnNearest NearestInColumns(const AlphaLayer& text) {
  const int w = text.width, h = text.height;
  ColumnNearest n{AlphaLayer(w, h), AlphaLayer(w, h)};
  std::vector<std::uint8_t> distance(std::size_t(w), kFarRows), seen(std::size_t(w), 0);
  for (int y = 0; y < h; ++y) {
    Sweep(text.Row(y), distance.data(), seen.data(), w);
    std::copy_n(distance.data(), w, n.rows.Row(y));
    std::copy_n(seen.data(), w, n.alpha.Row(y));
  }
  std::fill(distance.begin(), distance.end(), kFarRows);
  for (int y = h - 1; y >= 0; --y) {
    Sweep(text.Row(y), distance.data(), seen.data(), w);
    TakeNearer(distance.data(), seen.data(), n.rows.Row(y), n.alpha.Row(y), w);
  }
  return n;
}

// The row pass: for each pixel of a row, the nearest of the columns'
// nearest inked pixels within the radius, by its squared distance.
class RowPass {
 public:
  RowPass(int width, int radius)
      : width_(width),
        radius_(radius),
        square_(std::size_t(width + 2 * radius), kFarSquare),
        seedAlpha_(square_.size(), 0),
        best_(std::size_t(width)),
        bestAlpha_(std::size_t(width)) {}

  // The nearest inked pixel of each pixel of a row, within the radius.
  void Search(const std::uint8_t* rows, const std::uint8_t* alpha) {
    Candidates(rows, alpha);
    Nearest();
  }

  // A pixel at distance d from its nearest inked pixel, whose coverage a
  // reaches a − 0.5 past that pixel's centre, is covered by
  // R − (d − (a − 0.5)) + 0.5, clamped to 0 … 1. Inked pixels are at
  // distance 0 and so fully covered: never below the text. A smaller
  // radius than the search's finds the same nearest pixel wherever it shows:
  // nearer than R + 1, it lies within R columns and R rows.
  void Emit(int radius, std::uint8_t* out) const {
    const Roots& roots = ScaledRoots();
    const int reach = (radius + 1) * (radius + 1);
    for (int x = 0; x < width_; ++x)
      out[x] =
          best_[x] >= reach
              ? 0
              : std::uint8_t(std::clamp(255 * radius + bestAlpha_[x] - roots[best_[x]], 0, 255));
  }

 private:
  // Column x's candidate at index x + radius, far ones in the margins.
  void Candidates(const std::uint8_t* rows, const std::uint8_t* alpha) {
    std::int16_t* square = square_.data() + radius_;
    std::int16_t* seedAlpha = seedAlpha_.data() + radius_;
    for (int x = 0; x < width_; ++x) {
      const int r = rows[x];
      square[x] = r <= radius_ ? std::int16_t(r * r) : kFarSquare;
      seedAlpha[x] = alpha[x];
    }
  }

  // Written with masks and unaliased rows, so that it vectorises.
  void Nearest() {
    std::fill(best_.begin(), best_.end(), kFarSquare);
    std::int16_t* __restrict best = best_.data();
    std::int16_t* __restrict bestAlpha = bestAlpha_.data();
    for (int m = 0; m <= 2 * radius_; ++m) {
      const auto step = std::int16_t((m - radius_) * (m - radius_));
      const std::int16_t* __restrict square = square_.data() + m;
      const std::int16_t* __restrict seedAlpha = seedAlpha_.data() + m;
      for (int x = 0; x < width_; ++x) {
        const auto d = std::int16_t(square[x] + step);
        const auto nearer = std::int16_t(-std::int16_t(d < best[x]));
        bestAlpha[x] = std::int16_t((seedAlpha[x] & nearer) | (bestAlpha[x] & ~nearer));
        best[x] = std::min(d, best[x]);
      }
    }
  }

  int width_, radius_;
  std::vector<std::int16_t> square_, seedAlpha_, best_, bestAlpha_;
};

}  // namespace

AlphaLayer OutlineOf(const AlphaLayer& text, int radius) {
  return OutlinesOf(text, std::max(radius, 1), 0).inner;
}

Outlines OutlinesOf(const AlphaLayer& text, int innerRadius, int outerRadius) {
  Outlines made;
  innerRadius = std::min(innerRadius, kMaxRadius);
  outerRadius = std::min(outerRadius, kMaxRadius);
  if (text.Empty() || std::max(innerRadius, outerRadius) <= 0) return made;
  const ColumnNearest nearest = NearestInColumns(text);
  if (innerRadius > 0) made.inner = AlphaLayer(text.width, text.height);
  if (outerRadius > 0) made.outer = AlphaLayer(text.width, text.height);
  // One search serves both: the larger radius finds what the smaller would.
  RowPass pass(text.width, std::max(innerRadius, outerRadius));
  for (int y = 0; y < text.height; ++y) {
    pass.Search(nearest.rows.Row(y), nearest.alpha.Row(y));
    if (innerRadius > 0) pass.Emit(innerRadius, made.inner.Row(y));
    if (outerRadius > 0) pass.Emit(outerRadius, made.outer.Row(y));
  }
  return made;
}

}  // namespace glyphary
