// The width pass over rows given by address, for callers that hold only a
// few rows at a time: the same kernels and the same bytes as the pass over a
// whole bitmap.
#include <algorithm>
#include <cstring>

#include "resample/stretch_kernels.h"

namespace glyphary {

WidthPass::WidthPass(int sourceWidth, int width) : sourceWidth_(sourceWidth), width_(width) {
  if (width > sourceWidth) {
    enlarge_ = MakeEnlargeTable(sourceWidth, width);
  } else if (width < sourceWidth && sourceWidth != 2 * std::int64_t(width)) {
    shrink_ = MakeShrinkTable(sourceWidth, width);
    if (!shrink_.wideSums) spans_ = ShortSpanRows::Make(shrink_, sourceWidth);
  }
}

void WidthPass::Run(const RowBatch& batch) const {
  const auto sub = [&](int from) {
    return RowBatch{batch.in + from, batch.out + from, batch.count - from, batch.sourceWidth};
  };
  if (width_ == sourceWidth_) {
    for (int r = 0; r < batch.count; ++r)
      std::memcpy(batch.out[r], batch.in[r], 3 * std::size_t(width_));
  } else if (width_ > sourceWidth_) {
    for (int r = EnlargeRowsInBlocks(batch, enlarge_); r < batch.count; ++r)
      EnlargeRow(batch.in[r], batch.out[r], enlarge_);
  } else if (sourceWidth_ == 2 * std::int64_t(width_)) {
    for (int r = 0; r < batch.count; ++r) HalveRow(batch.in[r], batch.in[r], batch.out[r], width_);
  } else if (spans_) {
    for (int r = 0; r < batch.count; r += ShortSpanRows::kStrip)
      spans_->Shrink(batch.in + r, batch.out + r, std::min(ShortSpanRows::kStrip, batch.count - r));
  } else if (!shrink_.wideSums) {
    ShrinkRows(sub(ShrinkRowsInBlocks(batch, shrink_)), shrink_);
  } else {
    ShrinkRows(batch, shrink_);
  }
}

}  // namespace glyphary
