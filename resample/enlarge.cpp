// Enlargement with four-tap cubic (Lagrange) interpolation. Positions and
// weights are worked out once per destination column or row in extended
// precision; the pixels themselves see only integer arithmetic.
#include <algorithm>
#include <cmath>

#include "resample/stretch.h"
#include "resample/stretch_kernels.h"

namespace glyphary {
namespace {

constexpr std::int32_t kUnit = 1048576;          // 2^20, weight of 1.0
constexpr std::int32_t kHalfUnit = 524288;       // rounding start of every sum
constexpr std::int32_t kWhiteSum = 255 * kUnit;  // above this the result is 255

inline std::uint8_t Clamp(std::int32_t sum) {
  return std::uint8_t(sum < 0 ? 0 : sum > kWhiteSum ? 255 : sum >> 20);
}

}  // namespace

void EnlargeRow(const std::uint8_t* __restrict src, std::uint8_t* __restrict dst,
                const EnlargeTable& table) {
  const std::size_t n = table.taps.size();
  for (std::size_t c = 0; c < n; ++c, dst += 3) {
    const std::array<std::int32_t, 4>& tap = table.taps[c];
    const CubicWeightSet& w = table.weights[c];
    const std::uint8_t* p0 = src + 3 * std::size_t(tap[0]);
    const std::uint8_t* p1 = src + 3 * std::size_t(tap[1]);
    const std::uint8_t* p2 = src + 3 * std::size_t(tap[2]);
    const std::uint8_t* p3 = src + 3 * std::size_t(tap[3]);
    for (int k = 0; k < 3; ++k)
      dst[k] = Clamp(kHalfUnit + p0[k] * w[0] + p1[k] * w[1] + p2[k] * w[2] + p3[k] * w[3]);
  }
}

CubicWeightSet CubicWeights(long double x, std::int32_t scale) {
  constexpr long double kSixth = 1.0L / 6.0L;
  const long double s = scale;
  const long double v0 = ((x - 1) * (x - 2)) * (x - 3) * -kSixth * s;
  const long double v1 = ((x - 0) * (x - 2)) * (x - 3) * 0.5L * s;
  const long double v2 = ((x - 0) * (x - 1)) * (x - 3) * -0.5L * s;
  const long double v3 = ((x - 0) * (x - 1)) * (x - 2) * kSixth * s;
  // Truncation after adding a half: negative weights round up at exactly .5.
  return {std::int32_t(std::trunc(v0 + 0.5L)), std::int32_t(std::trunc(v1 + 0.5L)),
          std::int32_t(std::trunc(v2 + 0.5L)), std::int32_t(std::trunc(v3 + 0.5L))};
}

EnlargeTable MakeEnlargeTable(int sourceSize, int destinationSize) {
  EnlargeTable table;
  table.taps.resize(std::size_t(destinationSize));
  table.weights.resize(std::size_t(destinationSize));
  const long double span = destinationSize > 1 ? destinationSize - 1 : 1;
  for (int c = 0; c < destinationSize; ++c) {
    // The end columns land exactly on the end source columns.
    const long double m = static_cast<long double>(std::int64_t(sourceSize - 1) * c) / span;
    const long double whole = std::trunc(m);
    const int first = int(whole) - 1;
    for (int i = 0; i < 4; ++i) table.taps[c][i] = std::clamp(first + i, 0, sourceSize - 1);
    table.weights[c] = CubicWeights((m - whole) + 1, kUnit);
  }
  return table;
}

void EnlargeHorizontal(const Bitmap& source, Bitmap& destination, ProgressProc progress) {
  ReportProgress(0, progress);
  const EnlargeTable table = MakeEnlargeTable(source.Width(), destination.Width());
  const int height = source.Height();
  const int width = destination.Width();
  if (progress == nullptr) {
    const int done =
        EnlargeRowsInBlocks(RowPointers(source, destination).Batch(source.Width()), table);
    for (int r = done; r < height; ++r) EnlargeRow(source.Row(r), destination.Row(r), table);
    return;
  }
  // With a listener the pass walks column by column so it can report after
  // each one; the pixels are the same either way.
  EnlargeTable column;
  column.taps.resize(1);
  column.weights.resize(1);
  for (int c = 0; c < width; ++c) {
    column.taps[0] = table.taps[c];
    column.weights[0] = table.weights[c];
    for (int r = 0; r < height; ++r)
      EnlargeRow(source.Row(r), destination.Row(r) + 3 * std::size_t(c), column);
    ReportProgress(PassPercent(c, width, 50), progress);
  }
}

void EnlargeVertical(const Bitmap& source, Bitmap& destination, ProgressProc progress) {
  ReportProgress(50, progress);
  const EnlargeTable table = MakeEnlargeTable(source.Height(), destination.Height());
  const std::size_t n = std::size_t(source.Width()) * 3;
  const int height = destination.Height();
  for (int r = 0; r < height; ++r) {
    const std::array<std::int32_t, 4>& tap = table.taps[r];
    const std::uint8_t* const rows[4] = {source.Row(tap[0]), source.Row(tap[1]), source.Row(tap[2]),
                                         source.Row(tap[3])};
    CubicRows(rows, destination.Row(r), n, table.weights[r]);
    ReportProgress(PassPercent(r, height, 100), progress);
  }
}

}  // namespace glyphary
