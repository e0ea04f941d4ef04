// A resize in both directions in one sweep: source rows are width-resized a
// strip at a time into a small ring, and the height pass takes them from
// there. Each pass keeps its own arithmetic and rounding, so the bytes are
// those of the two passes one after the other, while memory follows the
// input and the result rather than the width-resized image between them,
// which can be far larger than either (1 x 60000 to 60000 x 1).
#include <algorithm>
#include <vector>

#include "resample/stretch.h"
#include "resample/stretch_kernels.h"

namespace glyphary {
namespace {

constexpr int kStrip = 32;  // rows width-resized together: whole blocks for the kernels

// Rows of a strip past this many bytes in all come one at a time, so that a
// ring of very wide rows stays small beside the result.
constexpr std::size_t kStripBytes = std::size_t(4) << 20;

// Beyond this many source rows per output row, the height pass adds rows
// into sums as they come instead of keeping them all.
constexpr int kMaxKeptRows = 64;

// Rows per strip: whole blocks of 16 where they fit in the budget, since the
// kernels take rows outside whole blocks one at a time and far more slowly.
int StripRows(std::size_t rowBytes) {
  const int rows = int(std::clamp<std::size_t>(kStripBytes / rowBytes, 1, kStrip));
  return rows >= 16 ? rows / 16 * 16 : rows;
}

// Width-resized source rows, made in order on demand; row x lives in slot
// x % capacity until rows made later take its place. A strip is made only
// while a requested row is missing, so with room for `window` rows up to the
// newest request plus a strip, no row still wanted is overwritten.
class WidthResizedRows {
 public:
  WidthResizedRows(SourceRows& source, int width, int window, ProgressProc progress,
                   std::int64_t totalSteps)
      : source_(source),
        pass_(source.Width(), width),
        rowBytes_(3 * std::size_t(width)),
        strip_(StripRows(rowBytes_)),
        capacity_(std::min(window + strip_, source.Height())),
        bytes_(rowBytes_ * std::size_t(capacity_)),
        progress_(progress),
        totalSteps_(totalSteps) {}

  const std::uint8_t* Row(int row) {
    while (made_ <= row) MakeStrip();
    return Slot(row);
  }

  void OutputRowDone(int row) {
    outputRowsDone_ = row + 1;
    Report();
  }

 private:
  // Progress counts the rows made and the output rows done together.
  void Report() const {
    ReportProgress(std::int32_t((std::int64_t(made_) + outputRowsDone_) * 100 / totalSteps_),
                   progress_);
  }

  std::uint8_t* Slot(int row) { return bytes_.data() + rowBytes_ * std::size_t(row % capacity_); }

  void MakeStrip() {
    const int rows = std::min(strip_, source_.Height() - made_);
    const std::uint8_t* in[kStrip];
    std::uint8_t* out[kStrip];
    source_.Get(made_, rows, in);
    for (int r = 0; r < rows; ++r) out[r] = Slot(made_ + r);
    pass_.Run({in, out, rows, source_.Width()});
    made_ += rows;
    Report();
  }

  SourceRows& source_;
  const WidthPass pass_;
  const std::size_t rowBytes_;
  const int strip_, capacity_;
  std::vector<std::uint8_t> bytes_;
  int made_ = 0, outputRowsDone_ = 0;
  ProgressProc progress_;
  std::int64_t totalSteps_;
};

void EnlargeDown(WidthResizedRows& rows, int sourceHeight, Bitmap& result) {
  const EnlargeTable table = MakeEnlargeTable(sourceHeight, result.Height());
  const std::size_t n = 3 * std::size_t(result.Width());
  for (int r = 0; r < result.Height(); ++r) {
    const std::array<std::int32_t, 4>& tap = table.taps[std::size_t(r)];
    rows.Row(tap[3]);  // the newest first, so that the others stay in the ring
    const std::uint8_t* const taps[4] = {rows.Row(tap[0]), rows.Row(tap[1]), rows.Row(tap[2]),
                                         rows.Row(tap[3])};
    CubicRows(taps, result.Row(r), n, table.weights[std::size_t(r)]);
    rows.OutputRowDone(r);
  }
}

void HalveDown(WidthResizedRows& rows, Bitmap& result) {
  const std::size_t n = 3 * std::size_t(result.Width());
  for (int r = 0; r < result.Height(); ++r) {
    const std::uint8_t* lower = rows.Row(2 * r + 1);
    MeanOfRows(rows.Row(2 * r), lower, result.Row(r), n);
    rows.OutputRowDone(r);
  }
}

// The area average over rows kept in the ring.
void AverageDown(WidthResizedRows& rows, const ShrinkTable& table, Bitmap& result) {
  const std::size_t n = 3 * std::size_t(result.Width());
  WeightedRows weighted(table);
  for (int r = 0; r < result.Height(); ++r) {
    rows.Row(table.first[std::size_t(r)] + table.count - 1);
    weighted.Average(
        r, [&](int row) { return rows.Row(row); }, result.Row(r), n);
    rows.OutputRowDone(r);
  }
}

// The area average with each row added into sums as it comes, for spans of
// many rows: rows of whole weight into plain 32-bit byte sums (no multiply,
// and they hold 16 million rows of 255), the partial rows at either end into
// 64-bit weighted sums. Integer sums are exact, so the grouping is free.
void SumDown(WidthResizedRows& rows, const ShrinkTable& table, Bitmap& result) {
  constexpr std::uint32_t kWholePixel = 262144;
  const std::size_t n = 3 * std::size_t(result.Width());
  std::vector<std::uint32_t> whole(n);
  std::vector<std::uint64_t> partial(n);
  for (int r = 0; r < result.Height(); ++r) {
    std::fill(whole.begin(), whole.end(), 0);
    std::fill(partial.begin(), partial.end(), 131072);  // half a source pixel's weight
    for (int t = 0; t < table.count; ++t) {
      const std::uint32_t weight = table.weights[std::size_t(r) * table.count + t];
      if (weight == 0) continue;
      const std::uint8_t* src = rows.Row(table.first[std::size_t(r)] + t);
      if (weight == kWholePixel) {
        for (std::size_t x = 0; x < n; ++x) whole[x] += src[x];
      } else {
        for (std::size_t x = 0; x < n; ++x) partial[x] += src[x] * std::uint64_t(weight);
      }
    }
    std::uint8_t* dst = result.Row(r);
    for (std::size_t x = 0; x < n; ++x) {
      const std::uint64_t sum = partial[x] + std::uint64_t(whole[x]) * kWholePixel;
      dst[x] = std::uint8_t(std::min<std::uint64_t>(255, (sum * table.factor) >> 40));
    }
    rows.OutputRowDone(r);
  }
}

}  // namespace

Bitmap StretchInOneSweep(SourceRows& source, int width, int height, ProgressProc progress) {
  Bitmap result = Bitmap::Uninitialised(width, height);
  const int sourceHeight = source.Height();
  const std::int64_t steps = std::int64_t(sourceHeight) + height;
  ReportProgress(0, progress);
  if (height > sourceHeight) {
    WidthResizedRows rows(source, width, 4, progress, steps);
    EnlargeDown(rows, sourceHeight, result);
  } else if (sourceHeight == 2 * std::int64_t(height)) {
    WidthResizedRows rows(source, width, 2, progress, steps);
    HalveDown(rows, result);
  } else {
    const ShrinkTable table = MakeShrinkTable(sourceHeight, height);
    const bool keepRows = !table.wideSums && table.count <= kMaxKeptRows;
    // Summing, a row is wanted again only as the first of the next span.
    WidthResizedRows rows(source, width, keepRows ? table.count : 2, progress, steps);
    if (keepRows)
      AverageDown(rows, table, result);
    else
      SumDown(rows, table, result);
  }
  return result;
}

}  // namespace glyphary
