// Crops a rendered image to its ink plus a fixed margin: two rows above, one
// below, three columns right of the last ink column, the left edge kept and
// the ink moved one column right.
#include <algorithm>
#include <cstring>

#include "render/render.h"

namespace glyphary {
namespace {

// Finds pixels that differ from the background as stored, unresolved: a
// system colour equals no pixel, so then every pixel is ink.
class InkFinder {
 public:
  InkFinder(const Bitmap& bitmap, TColor background) : b_(bitmap), background_(background) {}

  // The last ink column of row y that lies right of `after`, or `after`.
  int LastInk(int y, int after) const {
    const int w = b_.Width();
    if (background_ > 0x00FFFFFF) return std::max(after, w - 1);
    const int step = b_.BitsPerPixel() / 8;
    if (step == 1) {
      for (int x = w - 1; x > after; --x)
        if (b_.PixelAt(x, y) != background_) return x;
      return after;
    }
    const std::uint8_t* row = b_.Row(y);
    const std::uint8_t blue = BlueOf(background_), green = GreenOf(background_),
                       red = RedOf(background_);
    for (int x = w - 1; x > after; --x) {
      const std::uint8_t* p = row + std::size_t(x) * step;
      if (p[0] != blue || p[1] != green || p[2] != red) return x;
    }
    return after;
  }
  bool RowHasInk(int y) const { return LastInk(y, -1) >= 0; }

 private:
  const Bitmap& b_;
  TColor background_;
};

struct InkBox {
  int top = 0, bottomCut = 0, rightCut = 0;
};

InkBox FindInk(const Bitmap& b, TColor background) {
  const InkFinder finder(b, background);
  const int h = b.Height();
  int first = 0;
  while (first < h && !finder.RowHasInk(first)) ++first;
  if (first == h) return {};
  int last = h - 1;
  while (!finder.RowHasInk(last)) --last;
  int lastCol = -1;  // rows outside first … last hold no ink
  for (int y = first; y <= last; ++y) lastCol = finder.LastInk(y, lastCol);
  return {first, h - last, b.Width() - lastCol};
}

}  // namespace

void TrimToContent(Bitmap& bitmap, TColor background) {
  if (bitmap.Width() < 1) bitmap.SetWidth(1);
  if (bitmap.Height() < 1) bitmap.SetHeight(1);
  const int w = bitmap.Width(), h = bitmap.Height();
  const InkBox box = FindInk(bitmap, background);

  // Built in one pass: what resizing in place and then copying the old image
  // shifted by one column right and (2 − top) rows down, from x, y ≥ 1, leaves.
  Bitmap out(0, 0, bitmap.BitsPerPixel());
  out.SetPalette(bitmap.Palette());
  out.SetBrushColor(bitmap.BrushColor());
  out.SetSize(w - box.rightCut + 5, h - box.bottomCut - box.top + 4);
  const std::size_t pixel = std::size_t(bitmap.BitsPerPixel() / 8);
  const int kept = std::min(w, out.Width());
  const int shifted = std::min(w, out.Width() - 1);
  for (int y = 0; y < out.Height(); ++y) {
    std::uint8_t* dst = out.Row(y);
    const int source = y + box.top - 2;
    const bool shift = y >= 1 && source >= 0 && source < h;
    if (y < h) std::memcpy(dst, bitmap.Row(y), pixel * std::size_t(shift ? 1 : kept));
    if (shift) std::memcpy(dst + pixel, bitmap.Row(source), pixel * std::size_t(shifted));
  }
  bitmap = std::move(out);
}

}  // namespace glyphary
