// Reduction in both directions in one sweep: the width pass runs a strip of
// rows at a time into a small ring of rows, and the height pass takes them
// from there while they are still in the cache. Each pass keeps its own
// arithmetic and rounding, so the result is byte for byte that of the two
// passes one after the other, without their full-size intermediate image.
#include <algorithm>
#include <optional>
#include <vector>

#include "resample/stretch.h"
#include "resample/stretch_kernels.h"

namespace glyphary {
namespace {

constexpr int kStrip = ShortSpanRows::kStrip;

// Width-reduced source rows; row x lives in slot x % capacity until rows
// made later take its place.
class RowRing {
 public:
  RowRing(int capacity, std::size_t rowBytes)
      : capacity_(capacity), rowBytes_(rowBytes), bytes_(rowBytes * std::size_t(capacity)) {}

  std::uint8_t* Slot(int row) { return bytes_.data() + rowBytes_ * std::size_t(row % capacity_); }

 private:
  int capacity_;
  std::size_t rowBytes_;
  std::vector<std::uint8_t> bytes_;
};

}  // namespace

std::optional<Bitmap> ShrinkBothAtOnce(SourceRows& source, int width, int height) {
  if (width >= source.Width() || height >= source.Height()) return std::nullopt;
  const bool halveWidth = source.Width() == 2 * std::int64_t(width);
  const bool halveHeight = source.Height() == 2 * std::int64_t(height);
  ShrinkTable across;
  std::optional<ShortSpanRows> spans;
  if (!halveWidth) {
    across = MakeShrinkTable(source.Width(), width);
    spans = ShortSpanRows::Make(across, source.Width());
    if (!spans) return std::nullopt;
  }
  const ShrinkTable down = MakeShrinkTable(source.Height(), height);
  if (down.wideSums) return std::nullopt;

  // A strip is made only while the current output row lacks a row, so the
  // rows it overwrites lie above that output row's first.
  const std::size_t rowBytes = 3 * std::size_t(width);
  RowRing ring(down.count + kStrip, rowBytes);
  int made = 0;
  auto makeUpTo = [&](int end) {
    while (made < end) {
      const int rows = std::min(kStrip, source.Height() - made);
      const std::uint8_t* src[kStrip];
      std::uint8_t* dst[kStrip];
      source.Get(made, rows, src);
      for (int r = 0; r < rows; ++r) dst[r] = ring.Slot(made + r);
      if (halveWidth)
        for (int r = 0; r < rows; ++r) HalveRow(src[r], src[r], dst[r], width);
      else
        spans->Shrink(src, dst, rows);
      made += rows;
    }
  };

  Bitmap result = Bitmap::Uninitialised(width, height);
  WeightedRows weighted(down);
  for (int r = 0; r < height; ++r) {
    makeUpTo(down.first[r] + down.count);
    if (halveHeight) {
      MeanOfRows(ring.Slot(2 * r), ring.Slot(2 * r + 1), result.Row(r), rowBytes);
      continue;
    }
    weighted.Average(
        r, [&](int row) { return ring.Slot(row); }, result.Row(r), rowBytes);
  }
  return result;
}

}  // namespace glyphary
