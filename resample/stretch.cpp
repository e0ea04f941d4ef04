#include <cstdint>
#include <optional>
#include <string>

#include "resample/stretch.h"
#include "resample/stretch_kernels.h"

namespace glyphary {
namespace {

// The bitmap takes the pass's image and keeps its own brush.
void Adopt(Bitmap& bitmap, Bitmap&& image) {
  const TColor brush = bitmap.BrushColor();
  bitmap = std::move(image);
  bitmap.SetBrushColor(brush);
}

void StretchWidth(Bitmap& bitmap, int width, ProgressProc progress) {
  Bitmap temporary = Bitmap::Uninitialised(width, bitmap.Height());
  if (width > bitmap.Width())
    EnlargeHorizontal(bitmap, temporary, progress);
  else
    ShrinkHorizontal(bitmap, temporary, progress);
  Adopt(bitmap, std::move(temporary));
}

void StretchHeight(Bitmap& bitmap, int height, ProgressProc progress) {
  Bitmap temporary = Bitmap::Uninitialised(bitmap.Width(), height);
  if (height > bitmap.Height())
    EnlargeVertical(bitmap, temporary, progress);
  else
    ShrinkVertical(bitmap, temporary, progress);
  Adopt(bitmap, std::move(temporary));
}

}  // namespace

// The fused kernels where they suit the sizes, else the general sweep.
Bitmap FastestOneSweep(SourceRows& source, int width, int height) {
  if (std::int64_t(width) * 2 == source.Width() && std::int64_t(height) * 2 == source.Height()) {
    Bitmap half = Bitmap::Uninitialised(width, height);
    HalveBitmap(source, half);
    return half;
  }
  if (std::optional<Bitmap> reduced = ShrinkBothAtOnce(source, width, height))
    return *std::move(reduced);
  return StretchInOneSweep(source, width, height, nullptr);
}

void StretchBitmap(Bitmap& bitmap, int width, int height, ProgressProc progress) {
  if (bitmap.Empty()) return;
  // Nothing sensible has no pixels: refuse before touching the bitmap.
  if (width <= 0 || height <= 0)
    throw Error("画像の幅と高さは 1 以上にしてください (" + std::to_string(width) + " × " +
                std::to_string(height) + ")");
  const bool bothChange = width != bitmap.Width() && height != bitmap.Height();
  // The one sweep reads a 32-bit image a few rows at a time, with no 24-bit
  // copy of the whole of it.
  if (progress == nullptr && bothChange && bitmap.BitsPerPixel() != 8) {
    SourceRows rows(bitmap);
    Adopt(bitmap, FastestOneSweep(rows, width, height));
    return;
  }
  bitmap.SetBitsPerPixel(24);
  // A listener hears the two passes, as long as the image between them costs
  // no more than the input or the result would.
  const std::int64_t between = std::int64_t(width) * bitmap.Height();
  if (bothChange && between > std::int64_t(bitmap.Width()) * bitmap.Height() &&
      between > std::int64_t(width) * height) {
    SourceRows rows(bitmap);
    Adopt(bitmap, StretchInOneSweep(rows, width, height, progress));
    return;
  }
  if (width != bitmap.Width()) StretchWidth(bitmap, width, progress);
  if (height != bitmap.Height()) StretchHeight(bitmap, height, progress);
}

Bitmap HalveRows(const RowProducer& rows) {
  const int width = rows.Width() / 2, height = rows.Height() / 2;
  if (width > 0 && height > 0) {
    SourceRows source(rows);
    return FastestOneSweep(source, width, height);
  }
  // Nothing to halve: made whole, the image is kept or refused as StretchBitmap does.
  Bitmap whole = Bitmap::Uninitialised(rows.Width(), rows.Height());
  for (int y = 0; y < whole.Height(); ++y) rows.WriteRow(y, whole.Row(y));
  StretchBitmap(whole, width, height);
  return whole;
}

}  // namespace glyphary
