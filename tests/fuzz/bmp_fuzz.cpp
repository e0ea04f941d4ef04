// Fuzzes the BMP reader: no input may crash it or read outside its bytes,
// both forms it reads agree, and what it reads survives being written back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "export/export.h"
#include "same_pixels.h"

namespace glyphary {
namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckBmp(std::span<const std::uint8_t> bytes) {
  Bitmap stored;
  try {
    stored = DecodeBmp(bytes, "fuzz");
  } catch (const Error&) {
    return;
  }
  const Bitmap converted = DecodeBmp(bytes, "fuzz", BmpPixels::As24Bits);
  Check(converted.BitsPerPixel() == 24);
  Check(SamePixels(stored, converted));

  std::vector<std::uint8_t> written;
  EncodeBmp(stored, [&](std::span<const std::uint8_t> part) {
    written.insert(written.end(), part.begin(), part.end());
  });
  const Bitmap reread = DecodeBmp(written, "fuzz");
  // The writer keeps a palette and writes every other format as 24 bits.
  Check(reread.BitsPerPixel() == (stored.BitsPerPixel() == 8 ? 8 : 24));
  Check(SamePixels(stored, reread));
}

}  // namespace
}  // namespace glyphary

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  glyphary::CheckBmp({data, size});
  return 0;
}
