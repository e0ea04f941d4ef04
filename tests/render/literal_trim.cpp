// Crops a rendered image to its ink plus a fixed margin: two rows above, one
// below, three columns right of the last ink column, the left edge kept and
// the ink moved one column right.
#include <algorithm>
#include <cstring>

#include "literal_steps.h"

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
    if (step == 4) {
      // Whole pixels as words, the fourth byte masked off.
      const std::uint32_t bgr = std::uint32_t(BlueOf(background_)) |
                                std::uint32_t(GreenOf(background_)) << 8 |
                                std::uint32_t(RedOf(background_)) << 16;
      for (int x = w - 1; x > after; --x) {
        std::uint32_t v;
        std::memcpy(&v, row + 4 * std::size_t(x), 4);
        if ((v & 0x00FFFFFF) != bgr) return x;
      }
      return after;
    }
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

// Shifts the kept region within the image itself, then shrinks it: the usual
// case, where the new size lies inside the old one.
void ShiftInPlaceAndShrink(Bitmap& bitmap, const InkBox& box, int newW, int newH) {
  const int h = bitmap.Height();
  const std::size_t pixel = std::size_t(bitmap.BitsPerPixel() / 8);
  const auto shiftRow = [&](int y) {
    const int source = y + box.top - 2;
    if (source >= 0 && source < h)
      std::memmove(bitmap.Row(y) + pixel, bitmap.Row(source), pixel * std::size_t(newW - 1));
  };
  // Rows move up when top > 2 and down when top < 2: read each source row
  // before it is overwritten.
  if (box.top >= 2)
    for (int y = 1; y < newH; ++y) shiftRow(y);
  else
    for (int y = newH - 1; y >= 1; --y) shiftRow(y);
  bitmap.SetSize(newW, newH);
}

// The general case: builds the result beside the old image.
void ShiftIntoNewImage(Bitmap& bitmap, const InkBox& box, int newW, int newH) {
  const int w = bitmap.Width(), h = bitmap.Height();
  Bitmap out(0, 0, bitmap.BitsPerPixel());
  out.SetPalette(bitmap.Palette());
  out.SetBrushColor(bitmap.BrushColor());
  out.SetSize(newW, newH);
  const std::size_t pixel = std::size_t(bitmap.BitsPerPixel() / 8);
  const int kept = std::min(w, newW), shifted = std::min(w, newW - 1);
  for (int y = 0; y < newH; ++y) {
    std::uint8_t* dst = out.Row(y);
    const int source = y + box.top - 2;
    const bool shift = y >= 1 && source >= 0 && source < h;
    if (y < h) std::memcpy(dst, bitmap.Row(y), pixel * std::size_t(shift ? 1 : kept));
    if (shift) std::memcpy(dst + pixel, bitmap.Row(source), pixel * std::size_t(shifted));
  }
  bitmap = std::move(out);
}

}  // namespace

void TrimToContent(Bitmap& bitmap, TColor background) {
  if (bitmap.Width() < 1 || bitmap.Height() < 1) {
    // No pixel to keep: a new image of brush colour at least 1 × 1.
    Bitmap grown(0, 0, bitmap.BitsPerPixel());
    grown.SetPalette(bitmap.Palette());
    grown.SetBrushColor(bitmap.BrushColor());
    grown.SetSize(std::max(bitmap.Width(), 1), std::max(bitmap.Height(), 1));
    bitmap = std::move(grown);
  }
  const InkBox box = FindInk(bitmap, background);
  // Resizing in place and then copying the old image one column right and
  // (2 − top) rows down, from x, y ≥ 1, is what both ways below produce.
  const int newW = bitmap.Width() - box.rightCut + 5;
  const int newH = bitmap.Height() - box.bottomCut - box.top + 4;
  if (newW <= bitmap.Width() && newH <= bitmap.Height())
    ShiftInPlaceAndShrink(bitmap, box, newW, newH);
  else
    ShiftIntoNewImage(bitmap, box, newW, newH);
}

}  // namespace glyphary
