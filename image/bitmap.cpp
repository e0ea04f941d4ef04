#include <algorithm>
#include <cstring>
#include <limits>

#include "image/image.h"

namespace glyphary {
namespace {

// Far beyond any caption, well below what a 32-bit offset could address.
constexpr std::size_t kMaxImageBytes = std::size_t(1) << 31;

void CheckSize(int width, int height, int bpp) {
  if (width < 0 || height < 0)
    throw Error("画像の大きさが正しくありません (" + std::to_string(width) + " × " +
                std::to_string(height) + ")");
  if (bpp != 8 && bpp != 24 && bpp != 32)
    throw Error("対応していない色数です (" + std::to_string(bpp) + " ビット)");
  const std::size_t stride = Bitmap::StrideFor(width, bpp);
  if (height != 0 && stride > kMaxImageBytes / std::size_t(height))
    throw Error("画像が大きすぎます (" + std::to_string(width) + " × " + std::to_string(height) +
                " ピクセル)");
}

}  // namespace

Bitmap::Bitmap(int width, int height, int bitsPerPixel) {
  CheckSize(width, height, bitsPerPixel);
  bpp_ = bitsPerPixel;
  SetSize(width, height);
}

Bitmap Bitmap::Uninitialised(int width, int height, int bitsPerPixel) {
  CheckSize(width, height, bitsPerPixel);
  Bitmap image;
  image.bpp_ = bitsPerPixel;
  image.width_ = width;
  image.height_ = height;
  image.data_.resize(image.Stride() * std::size_t(height));
  // Padding is no pixel of the caller's, yet files written from the image
  // carry it.
  const std::size_t used = std::size_t(width) * std::size_t(bitsPerPixel / 8);
  if (used != image.Stride())
    for (int y = 0; y < height; ++y) std::memset(image.Row(y) + used, 0, image.Stride() - used);
  return image;
}

std::size_t Bitmap::StrideFor(int width, int bitsPerPixel) noexcept {
  return (std::size_t(width) * std::size_t(bitsPerPixel) + 31) / 32 * 4;
}

void Bitmap::FillRun(std::uint8_t* p, int count, TColor color) const noexcept {
  if (count <= 0) return;
  if (bpp_ == 8) {
    std::memset(p, 0, std::size_t(count));  // palette bitmaps are never drawn on
    return;
  }
  // One pixel by hand, then copies that double the filled run: a few memcpy
  // calls per row instead of a loop over every byte.
  const std::uint8_t pixel[4] = {BlueOf(color), GreenOf(color), RedOf(color), 0};
  const std::size_t total = std::size_t(count) * std::size_t(bpp_ / 8);
  std::size_t done = std::size_t(bpp_ / 8);
  std::memcpy(p, pixel, done);
  while (done < total) {
    const std::size_t n = std::min(done, total - done);
    std::memcpy(p + done, p, n);
    done += n;
  }
}

// Its callers write every pixel, so zeroing the pixels first would be wasted.
Bitmap Bitmap::Blank(int width, int height, int bitsPerPixel) const {
  Bitmap blank = Uninitialised(width, height, bitsPerPixel);
  blank.brush_ = brush_;
  return blank;
}

// The new image is built beside the old one, so a failed allocation leaves
// the bitmap as it was.
void Bitmap::SetSize(int width, int height) {
  if (width == width_ && height == height_ && data_.size() == StrideFor(width, bpp_) * height)
    return;
  Bitmap resized = Blank(width, height, bpp_);
  resized.palette_ = palette_;
  const int keepW = std::min(width, width_), keepH = std::min(height, height_);
  const std::size_t keepBytes = std::size_t(keepW) * (bpp_ / 8);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = resized.Row(y);
    if (y < keepH) {
      if (keepBytes != 0) std::memcpy(row, Row(y), keepBytes);
      FillRun(row + keepBytes, width - keepW, brush_);
    } else {
      FillRun(row, width, brush_);
    }
  }
  *this = std::move(resized);
}

void Bitmap::SetBitsPerPixel(int bitsPerPixel) {
  if (bitsPerPixel == bpp_) return;
  if (bitsPerPixel != 24 && bitsPerPixel != 32)
    throw Error("対応していない色数への変換です (" + std::to_string(bitsPerPixel) + " ビット)");
  Bitmap converted = Blank(width_, height_, bitsPerPixel);
  const int inStep = bpp_ / 8, outStep = bitsPerPixel / 8;
  for (int y = 0; y < height_; ++y) {
    const std::uint8_t* in = Row(y);
    std::uint8_t* out = converted.Row(y);
    for (int x = 0; x < width_; ++x, in += inStep, out += outStep) {
      if (bpp_ == 8) {
        const TColor c = PixelAt(x, y);
        out[0] = BlueOf(c);
        out[1] = GreenOf(c);
        out[2] = RedOf(c);
      } else {
        std::memcpy(out, in, 3);
      }
      if (outStep == 4) out[3] = 0;
    }
  }
  *this = std::move(converted);
}

void Bitmap::Fill(TColor color) {
  const TColor rgb = ColorToRGB(color);
  for (int y = 0; y < height_; ++y) FillRun(Row(y), width_, rgb);
}

TColor Bitmap::PixelAt(int x, int y) const noexcept {
  const std::uint8_t* row = Row(y);
  if (bpp_ == 8) {
    const std::uint8_t index = row[x];
    if (index >= palette_.size()) return kColorBlack;
    const PaletteEntry& e = palette_[index];
    return Rgb(e.red, e.green, e.blue);
  }
  const std::uint8_t* p = row + std::size_t(x) * (bpp_ / 8);
  return Rgb(p[2], p[1], p[0]);
}

}  // namespace glyphary
