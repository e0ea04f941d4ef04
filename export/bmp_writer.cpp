#include <algorithm>
#include <array>
#include <vector>

#include "export/bmp_format.h"
#include "export/encoded_file.h"
#include "export/export.h"

namespace glyphary {
namespace {

using namespace bmp;

// The colour table of an 8-bit bitmap. Indices beyond the bitmap's palette
// show as black in memory; the table is padded with black to cover every
// index in use, so that the file shows the same picture.
std::vector<PaletteEntry> ColorTable(const Bitmap& bitmap) {
  std::vector<PaletteEntry> table = bitmap.Palette();
  if (table.size() > 256) table.resize(256);
  std::size_t needed = 1;
  for (int y = 0; y < bitmap.Height(); ++y) {
    const std::uint8_t* row = bitmap.Row(y);
    needed = std::max<std::size_t>(needed, *std::max_element(row, row + bitmap.Width()) + 1u);
  }
  if (table.size() < needed) table.resize(needed, PaletteEntry{});
  return table;
}

std::array<std::uint8_t, kHeadersSize> Headers(const Bitmap& bitmap, std::size_t colors) {
  const auto tableBytes = std::uint32_t(colors * kPaletteEntrySize);
  const auto imageBytes = std::uint32_t(bitmap.ImageSize());
  const auto offBits = std::uint32_t(kHeadersSize) + tableBytes;
  std::array<std::uint8_t, kHeadersSize> h{};
  std::uint8_t* p = h.data();
  Put16(p + 0, kMagic);
  Put32(p + 2, offBits + imageBytes);
  Put32(p + 10, offBits);
  std::uint8_t* info = p + kFileHeaderSize;
  Put32(info + 0, kInfoHeaderSize);
  Put32(info + 4, std::uint32_t(bitmap.Width()));
  Put32(info + 8, std::uint32_t(bitmap.Height()));
  Put16(info + 12, 1);
  Put16(info + 14, std::uint16_t(bitmap.BitsPerPixel()));
  Put32(info + 16, kBiRgb);
  Put32(info + 20, imageBytes);
  Put32(info + 32, std::uint32_t(colors));
  return h;
}

void EncodeAsStored(const Bitmap& bitmap, const ByteSink& sink) {
  std::vector<std::uint8_t> table;
  if (bitmap.BitsPerPixel() <= 8) {
    for (const PaletteEntry& e : ColorTable(bitmap))
      table.insert(table.end(), {e.blue, e.green, e.red, 0});
  }
  sink(Headers(bitmap, table.size() / kPaletteEntrySize));
  sink(table);
  sink({bitmap.Bits(), bitmap.ImageSize()});
}

}  // namespace

// An empty bitmap makes an empty file; 32 bits are written as 24.
void EncodeBmp(const Bitmap& bitmap, const ByteSink& sink) {
  if (bitmap.Empty()) return;
  if (bitmap.BitsPerPixel() == 32) {
    Bitmap copy = bitmap;
    copy.SetBitsPerPixel(24);
    EncodeAsStored(copy, sink);
  } else {
    EncodeAsStored(bitmap, sink);
  }
}

void WriteBmpFile(const Bitmap& bitmap, const std::string& path) {
  WriteEncoded(path, [&bitmap](const ByteSink& sink) { EncodeBmp(bitmap, sink); });
}

}  // namespace glyphary
