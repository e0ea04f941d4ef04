#include <algorithm>
#include <cstring>
#include <limits>

#include "render/render.h"

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

void Bitmap::SetSize(int width, int height) {
  CheckSize(width, height, bpp_);
  if (width == width_ && height == height_ && data_.size() == StrideFor(width, bpp_) * height)
    return;
  Bitmap old = std::move(*this);
  width_ = width;
  height_ = height;
  bpp_ = old.bpp_;
  brush_ = old.brush_;
  palette_ = std::move(old.palette_);
  data_.assign(Stride() * std::size_t(height), 0);

  const int keepW = std::min(width, old.width_), keepH = std::min(height, old.height_);
  const std::size_t keepBytes = std::size_t(keepW) * (bpp_ / 8);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = Row(y);
    if (y < keepH) {
      if (keepBytes != 0) std::memcpy(row, old.Row(y), keepBytes);
      FillRun(row + keepBytes, width - keepW, brush_);
    } else {
      FillRun(row, width, brush_);
    }
  }
}

void Bitmap::SetBitsPerPixel(int bitsPerPixel) {
  if (bitsPerPixel == bpp_) return;
  if (bitsPerPixel != 24 && bitsPerPixel != 32)
    throw Error("対応していない色数への変換です (" + std::to_string(bitsPerPixel) + " ビット)");
  CheckSize(width_, height_, bitsPerPixel);
  Bitmap converted;
  converted.bpp_ = bitsPerPixel;
  converted.brush_ = brush_;
  converted.width_ = width_;
  converted.height_ = height_;
  converted.data_.assign(converted.Stride() * std::size_t(height_), 0);
  const int step = bitsPerPixel / 8;
  for (int y = 0; y < height_; ++y) {
    std::uint8_t* out = converted.Row(y);
    for (int x = 0; x < width_; ++x, out += step) {
      const TColor c = PixelAt(x, y);
      out[0] = BlueOf(c);
      out[1] = GreenOf(c);
      out[2] = RedOf(c);
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
