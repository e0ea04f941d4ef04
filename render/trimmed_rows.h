// The trimmed working image made row by row from whatever paints it: the
// crop the trim finds around the ink, and the rows it keeps, each written
// once, without the image around the ink ever existing.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

#include "render/antialias.h"
#include "render/render.h"
#include "resample/resample.h"

namespace glyphary {

// The working image the trim crops, in working pixels from the text cell's
// top-left: the cell's W × H, widened where ink reaches past it, so that no
// ink is cut. Ink that starts left of or above the cell gets at least one
// clear column or row before it, as the trim keeps the image's first column
// and row unshifted; the widening is even, so the halving's grid stays where
// it was.
struct Frame {
  int left = 0, top = 0, width = 0, height = 0;
};

inline Frame FrameAround(const PixelBox& ink, int width, int height) {
  Frame f{0, 0, width, height};
  if (ink.Empty()) return f;
  if (ink.left < 0) f.left = (ink.left - 1) & ~1;
  if (ink.top < 1) f.top = (ink.top - 1) & ~1;
  f.width = std::max(width, ink.right) - f.left;
  f.height = std::max(height, ink.bottom) - f.top;
  return f;
}

// The margin the trim leaves round the ink: clear rows above and below it
// and clear columns right of it. The ink also moves right by one column,
// the trim keeping the frame's first column where it was.
inline constexpr int kClearRowsAbove = 2, kClearRowsBelow = 1, kClearColumnsRight = 3;
inline constexpr int kInkMovedRight = 1;

// Whether no pixel equals `background` as the trim compares them, as stored:
// a colour with a top byte (a system colour, clNone, clDefault) names no
// pixel's bytes, so every pixel is ink.
inline bool NoPixelEquals(TColor background) {
  return background > 0x00FFFFFF;
}

// Where the trim found the ink in the frame.
struct TrimBox {
  int top = 0, bottomCut = 0, rightCut = 0;
};

inline TrimBox TrimOf(const PixelBox& ink, const Frame& f, bool everythingIsInk) {
  if (everythingIsInk) return {0, 1, 1};
  if (ink.Empty()) return {};
  return {ink.top - f.top, f.height - (ink.bottom - 1 - f.top), f.width - (ink.right - 1 - f.left)};
}

// The trim of a width × height cell whose ink lies in `ink` (cell
// coordinates). The trim first widens an image without pixels to one
// column or row.
struct Crop {
  Frame frame;
  TrimBox box;

  Crop(const PixelBox& ink, int width, int height, bool everythingIsInk)
      : frame(FrameAround(ink, std::max(width, 1), std::max(height, 1))),
        box(TrimOf(ink, frame, everythingIsInk)) {}

  // In the frame; one past its end where it holds no ink.
  int LastInkColumn() const { return frame.width - box.rightCut; }
  int LastInkRow() const { return frame.height - box.bottomCut; }

  int Width() const { return LastInkColumn() + 1 + kInkMovedRight + kClearColumnsRight; }
  int Height() const { return kClearRowsAbove + LastInkRow() - box.top + 1 + kClearRowsBelow; }
  // The first cell row that rows y and below read.
  int FirstCellRowFrom(int y) const {
    return y + std::min(0, box.top - kClearRowsAbove) + frame.top;
  }
};

template <int Bytes>
void StorePixel(std::uint8_t* p, std::uint32_t word) {
  std::memcpy(p, &word, Bytes);
}

template <int Bytes>
void FillPixels(std::uint8_t* p, int count, std::uint32_t word) {
  if (count <= 0) return;
  StorePixel<Bytes>(p, word);
  const std::size_t total = std::size_t(count) * Bytes;
  for (std::size_t done = Bytes; done < total;) {
    const std::size_t n = std::min(done, total - done);
    std::memcpy(p + done, p, n);
    done += n;
  }
}

// A premultiplied colour laid over what lies below, rounded to the nearest.
inline unsigned OverPremultiplied(unsigned below, unsigned premultiplied, unsigned alpha) {
  return premultiplied + (below * (255 - alpha) + 127) / 255;
}

// The colour glyphs' pixels of row y laid over `count` pixels of `Bytes`
// bytes from column x (the cell's coordinates).
template <int Bytes>
void LayColourPatch(std::uint8_t* out, int y, int x, int count, const ColourPatch& patch) {
  if (y < patch.top || y >= patch.Bottom()) return;
  const int from = std::max(x, patch.left), to = std::min(x + count, patch.Right());
  const std::uint8_t* in = patch.Row(y - patch.top) + 4 * (from - patch.left);
  // Most of a picture's pixels are clear or opaque: only its edge mixes.
  for (std::uint8_t* p = out + std::size_t(from - x) * Bytes; p < out + std::size_t(to - x) * Bytes;
       p += Bytes, in += 4) {
    const unsigned alpha = in[3];
    if (alpha == 0) continue;
    if (alpha == 255)
      std::memcpy(p, in, 3);
    else
      for (int k = 0; k < 3; ++k) p[k] = std::uint8_t(OverPremultiplied(p[k], in[k], alpha));
  }
}

// The box of the colour glyphs' pixels that show at all.
inline PixelBox ColourInk(const ColourPatch& patch) {
  PixelBox ink;
  for (int y = 0; y < patch.height; ++y) {
    const std::uint8_t* row = patch.Row(y);
    int first = 0, last = patch.width - 1;
    while (first <= last && row[4 * first + 3] == 0) ++first;
    while (last >= first && row[4 * last + 3] == 0) --last;
    if (first <= last)
      ink =
          Union(ink, {patch.left + first, patch.top + y, patch.left + last + 1, patch.top + y + 1});
  }
  return ink;
}

// Blue, green, red, 0 in memory order.
inline std::uint32_t PixelWord(TColor rgb) {
  return std::uint32_t(BlueOf(rgb)) | std::uint32_t(GreenOf(rgb)) << 8 |
         std::uint32_t(RedOf(rgb)) << 16;
}

// The trimmed rows of what a Source paints. A Source has kBytes, the size of
// its pixels, and Write(out, y, x, count), which writes `count` pixels of
// row y from column x in the cell's coordinates, the background wherever it
// paints nothing, beyond the frame's edges too, where the trim's resize adds
// that colour. Write makes any row on its own, so the image can be made
// whole or handed out a few rows at a time.
template <typename Source>
class TrimmedRows {
 public:
  static constexpr int kBytes = Source::kBytes;

  TrimmedRows(Source source, const Crop& crop) : source_(std::move(source)), crop_(crop) {}

  int Width() const { return crop_.Width(); }
  int Height() const { return crop_.Height(); }
  const Crop& CropUsed() const { return crop_; }

  // Row 0, column 0 and rows without a source row keep the frame's own
  // pixels; the rest is the frame moved right and (kClearRowsAbove − top)
  // rows down.
  void Write(int y, std::uint8_t* row) const {
    const Frame& f = crop_.frame;
    constexpr int kKept = kInkMovedRight;
    source_.Write(row, f.top + y, f.left, kKept);
    const int from = y + crop_.box.top - kClearRowsAbove;
    std::uint8_t* moved = row + kKept * kBytes;
    if (y >= 1 && from >= 0 && from < f.height)
      source_.Write(moved, f.top + from, f.left, Width() - kKept);
    else
      source_.Write(moved, f.top + y, f.left + kKept, Width() - kKept);
  }

 private:
  const Source source_;
  const Crop crop_;
};

template <typename Source>
Bitmap Compose(const TrimmedRows<Source>& rows) {
  Bitmap out = Bitmap::Uninitialised(rows.Width(), rows.Height(), 8 * TrimmedRows<Source>::kBytes);
  for (int y = 0; y < out.Height(); ++y) rows.Write(y, out.Row(y));
  return out;
}

// The 24-bit rows for a halving that never holds them all; with `giveBack`,
// the coverage rows passed go back to the system as the halving moves down.
template <typename Source>
class TrimmedRowProducer final : public RowProducer {
 public:
  static_assert(Source::kBytes == 3, "the halving reads 24-bit rows");
  TrimmedRowProducer(Source source, const Crop& crop, Coverage* giveBack)
      : rows_(std::move(source), crop), giveBack_(giveBack) {}
  int Width() const override { return rows_.Width(); }
  int Height() const override { return rows_.Height(); }
  void WriteRow(int y, std::uint8_t* pixels) const override { rows_.Write(y, pixels); }
  void ForgetRowsBefore(int y) const override {
    if (giveBack_)
      giveBack_->ForgetRowsBefore(rows_.CropUsed().FirstCellRowFrom(y) - giveBack_->top);
  }

 private:
  TrimmedRows<Source> rows_;
  Coverage* giveBack_;
};

// The caption of trimmed rows: halved, its brush the background, as the
// trim's resize left it.
inline Bitmap Halved(const RowProducer& rows, TColor background) {
  Bitmap out = HalveRows(rows);
  out.SetBrushColor(background);
  return out;
}

}  // namespace glyphary
