#include <cstdint>
#include <optional>
#include <string>

#include "render/stretch.h"

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

void StretchBitmap(Bitmap& bitmap, int width, int height, ProgressProc progress) {
  if (bitmap.Empty()) return;
  // Nothing sensible has no pixels: refuse before touching the bitmap.
  if (width <= 0 || height <= 0)
    throw Error("画像の幅と高さは 1 以上にしてください (" + std::to_string(width) + " × " +
                std::to_string(height) + ")");
  bitmap.SetBitsPerPixel(24);

  // The caption pipeline's case; one sweep instead of two passes. Progress
  // listeners get the two passes so that they hear the usual reports.
  if (progress == nullptr && std::int64_t(width) * 2 == bitmap.Width() &&
      std::int64_t(height) * 2 == bitmap.Height()) {
    Bitmap half = Bitmap::Uninitialised(width, height);
    HalveBitmap(bitmap, half);
    Adopt(bitmap, std::move(half));
    return;
  }
  if (progress == nullptr && width < bitmap.Width() && height < bitmap.Height()) {
    std::optional<Bitmap> reduced = ShrinkBothAtOnce(bitmap, width, height);
    if (reduced) {
      Adopt(bitmap, std::move(*reduced));
      return;
    }
  }
  if (width != bitmap.Width()) StretchWidth(bitmap, width, progress);
  if (height != bitmap.Height()) StretchHeight(bitmap, height, progress);
}

}  // namespace glyphary
