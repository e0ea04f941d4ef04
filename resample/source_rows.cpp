// Rows of a 32-bit source turned into 24-bit bytes a few at a time, so that
// the one-sweep reductions read a 32-bit image without a 24-bit copy of it.
#include <immintrin.h>

#include <cstring>

#include "resample/stretch_kernels.h"

namespace glyphary {
namespace {

// Room past a converted row for the last 16-byte store of four pixels.
constexpr std::size_t kSlack = 16;

#pragma GCC push_options
#pragma GCC target("avx2")

// The first three bytes of every four; returns the pixels done.
int DropFourthBytesWide(const std::uint8_t* in, std::uint8_t* out, int width) {
  const __m128i firstThree = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
  int x = 0;
  for (; x + 4 <= width; x += 4)
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * x),
                     _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 4 * x)),
                                      firstThree));
  return x;
}

#pragma GCC pop_options

void DropFourthBytes(const std::uint8_t* in, std::uint8_t* out, int width) {
  for (int x = WideVectors() ? DropFourthBytesWide(in, out, width) : 0; x < width; ++x)
    std::memcpy(out + 3 * x, in + 4 * x, 3);
}

}  // namespace

SourceRows::SourceRows(const Bitmap& source, int rowsAtOnce)
    : source_(source), rowBytes_(3 * std::size_t(source.Width()) + kSlack) {
  if (source.BitsPerPixel() == 32) buffer_.resize(rowBytes_ * std::size_t(rowsAtOnce));
}

void SourceRows::Get(int first, int count, const std::uint8_t** rows) {
  for (int r = 0; r < count; ++r) {
    if (buffer_.empty()) {
      rows[r] = source_.Row(first + r);
      continue;
    }
    std::uint8_t* row = buffer_.data() + rowBytes_ * std::size_t(r);
    DropFourthBytes(source_.Row(first + r), row, source_.Width());
    rows[r] = row;
  }
}

}  // namespace glyphary
