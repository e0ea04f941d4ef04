// Public interface of the images every part works on: colours as the
// settings file and the windows name them, and device-independent bitmaps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "io/io.h"

namespace glyphary {

// ---------------------------------------------------------------- colours

// 0x00BBGGRR for an explicit colour; 0x800000nn names system colour nn.
using TColor = std::uint32_t;

inline constexpr TColor kColorNone = 0xFFFFFFFF;  // "no colour" in optional fields
inline constexpr TColor kColorBlack = 0x00000000;
inline constexpr TColor kColorWhite = 0x00FFFFFF;

constexpr std::uint8_t RedOf(TColor c) {
  return c & 0xFF;
}
constexpr std::uint8_t GreenOf(TColor c) {
  return (c >> 8) & 0xFF;
}
constexpr std::uint8_t BlueOf(TColor c) {
  return (c >> 16) & 0xFF;
}
constexpr TColor Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return TColor(r) | TColor(g) << 8 | TColor(b) << 16;
}

bool IsSystemColor(TColor c);
// Resolves a system colour through our fixed table; other values pass unchanged.
TColor ColorToRGB(TColor c);

// ---------------------------------------------------------------- bitmap

struct PaletteEntry {
  std::uint8_t blue = 0, green = 0, red = 0, reserved = 0;
  bool operator==(const PaletteEntry&) const = default;
};

// Device-independent bitmap: 8, 24 or 32 bits per pixel, rows padded to 4
// bytes and stored bottom-up; Row(0) is the top row. Pixels are blue, green,
// red (and a fourth byte at 32 bits).
class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(int width, int height, int bitsPerPixel = 24);
  // Pixels left unset (row padding zeroed), for callers that write every one.
  static Bitmap Uninitialised(int width, int height, int bitsPerPixel = 24);

  int Width() const noexcept { return width_; }
  int Height() const noexcept { return height_; }
  int BitsPerPixel() const noexcept { return bpp_; }
  bool Empty() const noexcept { return width_ == 0 || height_ == 0; }
  std::size_t Stride() const noexcept { return StrideFor(width_, bpp_); }
  static std::size_t StrideFor(int width, int bitsPerPixel) noexcept;

  std::uint8_t* Row(int row) noexcept { return data_.data() + RowOffset(row); }
  const std::uint8_t* Row(int row) const noexcept { return data_.data() + RowOffset(row); }
  // The whole image as it lies in memory: bottom row first, rows padded.
  std::uint8_t* Bits() noexcept { return data_.data(); }
  const std::uint8_t* Bits() const noexcept { return data_.data(); }
  std::size_t ImageSize() const noexcept { return data_.size(); }

  const std::vector<PaletteEntry>& Palette() const noexcept { return palette_; }
  void SetPalette(std::vector<PaletteEntry> palette) { palette_ = std::move(palette); }

  // Colour given to pixels that a resize adds; white for a new bitmap.
  TColor BrushColor() const noexcept { return brush_; }
  void SetBrushColor(TColor color) noexcept { brush_ = ColorToRGB(color); }

  // Keeps every pixel inside both sizes; new pixels take the brush colour.
  void SetSize(int width, int height);
  void SetWidth(int width) { SetSize(width, height_); }
  void SetHeight(int height) { SetSize(width_, height); }
  // Converts between 8 (palette), 24 and 32 bits; only 24 and 32 are targets.
  void SetBitsPerPixel(int bitsPerPixel);
  // Fills the whole image with a colour (the fourth byte becomes 0).
  void Fill(TColor color);
  // The pixel as 0x00BBGGRR, whatever the format; for checks and tests.
  TColor PixelAt(int x, int y) const noexcept;

 private:
  std::size_t RowOffset(int row) const noexcept {
    return std::size_t(height_ - 1 - row) * Stride();
  }
  void FillRun(std::uint8_t* p, int count, TColor color) const noexcept;
  // An unset image of the given shape (padding zeroed) that keeps this bitmap's brush.
  Bitmap Blank(int width, int height, int bitsPerPixel) const;

  // Leaves elements made without a value unset; every resize but the one in
  // Uninitialised gives a value.
  template <typename T>
  struct UnsetAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
      using other = UnsetAllocator<U>;
    };
    UnsetAllocator() = default;
    template <typename U>
    UnsetAllocator(const UnsetAllocator<U>&) noexcept {}
    template <typename U>
    void construct(U* p) noexcept {
      ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args) {
      ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
  };

  int width_ = 0, height_ = 0, bpp_ = 24;
  TColor brush_ = kColorWhite;
  std::vector<std::uint8_t, UnsetAllocator<std::uint8_t>> data_;
  std::vector<PaletteEntry> palette_;
};

}  // namespace glyphary
