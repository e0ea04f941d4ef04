#include <array>
#include <memory>

#include "export/export.h"
#include "export/palette.h"

namespace glyphary {
namespace {

// Remembers the palette index of recently seen colours. Captions hold a few
// hundred colours at most, so nearly every pixel is a single look-up; a
// colour that loses its slot to another is simply searched again.
class NearestIndexCache {
 public:
  explicit NearestIndexCache(std::span<const PaletteEntry> palette) : palette_(palette) {
    keys_.fill(kEmpty);
  }

  std::uint8_t IndexOf(TColor rgb) {
    const std::size_t slot = (rgb * 2654435761u) >> (32 - kSlotBits);
    if (keys_[slot] != rgb) {
      keys_[slot] = rgb;
      values_[slot] = std::uint8_t(NearestPaletteIndex(palette_, rgb));
    }
    return values_[slot];
  }

 private:
  static constexpr int kSlotBits = 12;
  static constexpr TColor kEmpty = 0xFFFFFFFF;  // never a 24-bit colour
  std::span<const PaletteEntry> palette_;
  std::array<TColor, std::size_t(1) << kSlotBits> keys_;
  std::array<std::uint8_t, std::size_t(1) << kSlotBits> values_{};
};

void MapTrueColorRow(const std::uint8_t* in, int step, int width, std::uint8_t* out,
                     NearestIndexCache& cache) {
  TColor last = 0xFFFFFFFF;
  std::uint8_t lastIndex = 0;
  for (int x = 0; x < width; ++x, in += step) {
    const TColor c = Rgb(in[2], in[1], in[0]);
    if (c != last) {
      last = c;
      lastIndex = cache.IndexOf(c);
    }
    out[x] = lastIndex;
  }
}

}  // namespace

void ReduceTo256Colors(Bitmap& bitmap) {
  const auto& palette = HalftonePalette();
  Bitmap reduced(bitmap.Width(), bitmap.Height(), 8);
  reduced.SetBrushColor(bitmap.BrushColor());
  reduced.SetPalette({palette.begin(), palette.end()});
  auto cache = std::make_unique<NearestIndexCache>(palette);
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::uint8_t* out = reduced.Row(y);
    if (bitmap.BitsPerPixel() == 8) {
      for (int x = 0; x < bitmap.Width(); ++x) out[x] = cache->IndexOf(bitmap.PixelAt(x, y));
    } else {
      MapTrueColorRow(bitmap.Row(y), bitmap.BitsPerPixel() / 8, bitmap.Width(), out, *cache);
    }
  }
  bitmap = std::move(reduced);
}

}  // namespace glyphary
