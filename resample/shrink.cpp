// Area-average reduction: every destination pixel is the exact mean of the
// source interval it covers, in 2^-18 pixel units and integer arithmetic.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>

#include "resample/stretch.h"
#include "resample/stretch_kernels.h"

namespace glyphary {
namespace {

constexpr std::uint32_t kWholePixel = 262144;  // 2^18
constexpr std::uint32_t kHalfPixel = 131072;   // rounding start of every sum

// trunc(x) for 0 <= x < 2^62. On x87 without the control-word switches of a
// truncating conversion, which stall the pipeline at every call: adding 2^63
// leaves x rounded to an integer in the 64-bit significand.
std::uint64_t Truncate(long double x) {
#if defined(__x86_64__) || defined(__i386__)
  static_assert(std::numeric_limits<long double>::digits == 64);
  const long double biased = x + 9223372036854775808.0L;
  std::uint64_t significand;
  std::memcpy(&significand, &biased, sizeof significand);
  std::uint64_t n = significand - (std::uint64_t(1) << 63);
  if (static_cast<long double>(n) > x) --n;
  return n;
#else
  return std::uint64_t(x);
#endif
}

// S·j / D in long double, the rest scaled to 2^-18 pixels and rounded.
ShrinkBoundary LongDoubleBoundaryAt(int sourceSize, int destinationSize, int index) {
  const long double p = static_cast<long double>(std::int64_t(sourceSize) * index) /
                        static_cast<long double>(destinationSize);
  const std::uint64_t whole = Truncate(p);
  return {std::int32_t(whole),
          std::uint32_t(Truncate((p - static_cast<long double>(whole)) * 262144.0L + 0.5L))};
}

// The same from integers alone, where it gives the same: while S·D < 2^44,
// the long double quotient S·j / D is off by at most 2^-64 of itself and the
// steps after it by at most 2^-46, which moves rest · 2^18 / D + 1/2 by less
// than 1 / (2D), the least distance from a whole number that it can lie at
// without lying on one; where it lies on one, both are exact.
constexpr std::int64_t kIntegerBoundariesBelow = std::int64_t(1) << 44;

ShrinkBoundary IntegerBoundaryAt(int sourceSize, int destinationSize, int index) {
  const std::int64_t n = std::int64_t(sourceSize) * index, d = destinationSize;
  const std::int64_t rest = n % d;
  return {std::int32_t(n / d), std::uint32_t((rest * 2 * kWholePixel + d) / (2 * d))};
}

// Beyond about 64:1 a plain 32-bit sum would wrap; wider sums keep the same
// arithmetic, and the clamp keeps rounding drift at extreme ratios from
// wrapping past white.
template <typename Sum>
inline std::uint8_t Normalise(Sum sum, std::uint32_t factor) {
  const std::uint64_t value = (std::uint64_t(sum) * factor) >> 40;
  return std::uint8_t(value > 255 ? 255 : value);
}

template <typename Sum, int kFixed>
void ShrinkRow(const std::uint8_t* src, std::uint8_t* dst, const ShrinkTable& table) {
  const int count = kFixed > 0 ? kFixed : table.count;
  const std::int32_t* first = table.first.data();
  const std::uint32_t* weights = table.weights.data();
  const std::size_t n = table.first.size();
  for (std::size_t j = 0; j < n; ++j, weights += count, dst += 3) {
    const std::uint8_t* s = src + 3 * std::size_t(first[j]);
    Sum b = kHalfPixel, g = kHalfPixel, r = kHalfPixel;
    for (int t = 0; t < count; ++t, s += 3) {
      const Sum w = weights[t];
      b += s[0] * w;
      g += s[1] * w;
      r += s[2] * w;
    }
    dst[0] = Normalise(b, table.factor);
    dst[1] = Normalise(g, table.factor);
    dst[2] = Normalise(r, table.factor);
  }
}

template <typename Sum>
using RowShrinker = void (*)(const std::uint8_t*, std::uint8_t*, const ShrinkTable&);

template <typename Sum>
RowShrinker<Sum> PickRowShrinker(int count) {
  return WithTapCount<1, 6>(
      count, [](auto taps) -> RowShrinker<Sum> { return ShrinkRow<Sum, decltype(taps)::value>; });
}

template <typename Sum>
void ShrinkHorizontalWith(const Bitmap& source, Bitmap& destination, const ShrinkTable& table,
                          ProgressProc progress) {
  const RowShrinker<Sum> shrinkRow = PickRowShrinker<Sum>(table.count);
  const int height = source.Height();
  int r = 0;
  if (progress == nullptr && std::is_same_v<Sum, std::uint32_t>) {
    if (ShrinkShortSpansWide(source, destination, table)) return;
    r = ShrinkRowsInBlocks(RowPointers(source, destination).Batch(source.Width()), table);
  }
  for (; r < height; ++r) {
    shrinkRow(source.Row(r), destination.Row(r), table);
    ReportProgress(PassPercent(r, height, 50), progress);
  }
}

// Beyond about 64:1: one 64-bit sum per byte of the destination row.
void AddRow(std::uint64_t* __restrict sums, const std::uint8_t* __restrict src, std::size_t n,
            std::uint32_t weight) {
  for (std::size_t x = 0; x < n; ++x) sums[x] += std::uint64_t(src[x]) * weight;
}

void ShrinkVerticalWide(const Bitmap& source, Bitmap& destination, const ShrinkTable& table,
                        ProgressProc progress) {
  const std::size_t n = std::size_t(source.Width()) * 3;
  const int height = destination.Height();
  std::vector<std::uint64_t> sums(n);
  for (int r = 0; r < height; ++r) {
    std::fill(sums.begin(), sums.end(), kHalfPixel);
    for (int t = 0; t < table.count; ++t) {
      const std::uint32_t weight = table.weights[std::size_t(r) * table.count + t];
      if (weight != 0) AddRow(sums.data(), source.Row(table.first[r] + t), n, weight);
    }
    std::uint8_t* dst = destination.Row(r);
    for (std::size_t x = 0; x < n; ++x) dst[x] = Normalise(sums[x], table.factor);
    ReportProgress(PassPercent(r, height, 100), progress);
  }
}

}  // namespace

ShrinkBoundary ShrinkBoundaryAt(int sourceSize, int destinationSize, int index) {
  if (std::int64_t(sourceSize) * destinationSize < kIntegerBoundariesBelow)
    return IntegerBoundaryAt(sourceSize, destinationSize, index);
  return LongDoubleBoundaryAt(sourceSize, destinationSize, index);
}

ShrinkTable MakeShrinkTable(int sourceSize, int destinationSize) {
  ShrinkTable table;
  table.factor = std::uint32_t(std::trunc(
      (1.0L / (static_cast<long double>(sourceSize) / static_cast<long double>(destinationSize))) *
          4194304.0L +
      0.5L));

  // Spans per destination pixel: from boundary j to boundary j + 1.
  std::vector<ShrinkBoundary> bounds(std::size_t(destinationSize) + 1);
  for (int j = 0; j <= destinationSize; ++j)
    bounds[j] = ShrinkBoundaryAt(sourceSize, destinationSize, j);
  for (int j = 0; j < destinationSize; ++j) {
    const int span = bounds[j + 1].whole - bounds[j].whole + (bounds[j + 1].part != 0 ? 1 : 0);
    table.count = std::max(table.count, span);
  }
  table.count = std::min(table.count, sourceSize);

  table.first.resize(std::size_t(destinationSize));
  table.weights.assign(std::size_t(destinationSize) * table.count, 0);
  std::uint64_t heaviest = 0;
  for (int j = 0; j < destinationSize; ++j) {
    const int a = bounds[j].whole, e = bounds[j + 1].whole;
    // Near the right edge the window slides left; its extra taps weigh 0.
    const int first = std::min(a, sourceSize - table.count);
    std::uint32_t* w = &table.weights[std::size_t(j) * table.count];
    w[a - first] += kWholePixel - bounds[j].part;
    for (int i = a + 1; i < e; ++i) w[i - first] += kWholePixel;
    if (bounds[j + 1].part != 0) w[e - first] += bounds[j + 1].part;
    table.first[j] = first;
    heaviest = std::max(heaviest,
                        std::uint64_t(kWholePixel) * (e - a) + bounds[j + 1].part - bounds[j].part);
  }
  table.wideSums = kHalfPixel + 255 * heaviest > 0xFFFFFFFFu;
  return table;
}

void ShrinkRows(const RowBatch& batch, const ShrinkTable& table) {
  if (table.wideSums) {
    const RowShrinker<std::uint64_t> shrinkRow = PickRowShrinker<std::uint64_t>(table.count);
    for (int r = 0; r < batch.count; ++r) shrinkRow(batch.in[r], batch.out[r], table);
  } else {
    const RowShrinker<std::uint32_t> shrinkRow = PickRowShrinker<std::uint32_t>(table.count);
    for (int r = 0; r < batch.count; ++r) shrinkRow(batch.in[r], batch.out[r], table);
  }
}

void ShrinkHorizontal(const Bitmap& source, Bitmap& destination, ProgressProc progress) {
  ReportProgress(0, progress);
  const int height = source.Height();
  if (source.Width() == 2 * std::int64_t(destination.Width())) {
    for (int r = 0; r < height; ++r) {
      HalveRow(source.Row(r), source.Row(r), destination.Row(r), destination.Width());
      ReportProgress(PassPercent(r, height, 50), progress);
    }
    return;
  }
  const ShrinkTable table = MakeShrinkTable(source.Width(), destination.Width());
  if (table.wideSums)
    ShrinkHorizontalWith<std::uint64_t>(source, destination, table, progress);
  else
    ShrinkHorizontalWith<std::uint32_t>(source, destination, table, progress);
}

void ShrinkVertical(const Bitmap& source, Bitmap& destination, ProgressProc progress) {
  ReportProgress(0, progress);
  const std::size_t n = std::size_t(source.Width()) * 3;
  const int height = destination.Height();
  if (source.Height() == 2 * std::int64_t(height)) {
    for (int r = 0; r < height; ++r) {
      MeanOfRows(source.Row(2 * r), source.Row(2 * r + 1), destination.Row(r), n);
      ReportProgress(PassPercent(r, height, 100), progress);
    }
    return;
  }
  const ShrinkTable table = MakeShrinkTable(source.Height(), height);
  if (table.wideSums) {
    ShrinkVerticalWide(source, destination, table, progress);
    return;
  }
  WeightedRows weighted(table);
  for (int r = 0; r < height; ++r) {
    weighted.Average(
        r, [&](int row) { return source.Row(row); }, destination.Row(r), n);
    ReportProgress(PassPercent(r, height, 100), progress);
  }
}

}  // namespace glyphary
