// Exact 2:1 reduction in both directions. With whole-pixel boundaries the
// area average of two pixels is ((a + b) * 2^18 + 2^17) * 2^21 >> 40, which
// is (a + b) >> 1; the width pass rounds before the height pass sees it.
#include <emmintrin.h>

#include <cstring>

#include "render/stretch.h"
#include "render/stretch_kernels.h"

namespace glyphary {
namespace {

inline std::uint8_t Mean(unsigned a, unsigned b) {
  return std::uint8_t((a + b) >> 1);
}

inline std::uint8_t MeanOfFour(const std::uint8_t* top, const std::uint8_t* bottom) {
  return Mean(Mean(top[0], top[3]), Mean(bottom[0], bottom[3]));
}

// means[i] = MeanOfFour at byte i, for every i that has a partner three bytes
// on. Only i % 6 < 3 matter, but a straight run vectorises. The SSE2 average
// rounds up; on complemented bytes it rounds down: ~avg(~a, ~b) = (a + b) >> 1.
void MeanRows(const std::uint8_t* top, const std::uint8_t* bottom, std::uint8_t* means,
              std::size_t bytes) {
  const __m128i ones = _mm_set1_epi8(-1);
  auto load = [&](const std::uint8_t* p) {
    return _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), ones);
  };
  std::size_t i = 0;
  for (; i + 19 <= bytes; i += 16) {
    const __m128i upper = _mm_avg_epu8(load(top + i), load(top + i + 3));
    const __m128i lower = _mm_avg_epu8(load(bottom + i), load(bottom + i + 3));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(means + i),
                     _mm_xor_si128(_mm_avg_epu8(upper, lower), ones));
  }
  for (; i + 3 < bytes; ++i) means[i] = MeanOfFour(top + i, bottom + i);
}

// Keeps the first three of every six bytes: one output pixel per pair, two
// pixels per 8-byte store whose last two bytes the next store rewrites.
void PackPairs(const std::uint8_t* means, std::uint8_t* dst, int width) {
  int c = 0;
  for (; c + 3 <= width; c += 2) {
    std::uint32_t left, right;
    std::memcpy(&left, means + 6 * c, 4);
    std::memcpy(&right, means + 6 * c + 6, 4);
    const std::uint64_t both = (left & 0xFFFFFFu) | std::uint64_t(right) << 24;
    std::memcpy(dst + 3 * c, &both, 8);
  }
  for (; c < width; ++c) std::memcpy(dst + 3 * c, means + 6 * c, 3);
}

}  // namespace

void HalveRow(const std::uint8_t* top, const std::uint8_t* bottom, std::uint8_t* dst, int width,
              std::uint8_t* scratch) {
  if (width == 0) return;
  MeanRows(top, bottom, scratch, std::size_t(width) * 6);
  PackPairs(scratch, dst, width);
}

void MeanOfRows(const std::uint8_t* a, const std::uint8_t* b, std::uint8_t* dst, std::size_t n) {
  const __m128i ones = _mm_set1_epi8(-1);
  std::size_t x = 0;
  for (; x + 16 <= n; x += 16) {
    const __m128i upper =
        _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + x)), ones);
    const __m128i lower =
        _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(b + x)), ones);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + x),
                     _mm_xor_si128(_mm_avg_epu8(upper, lower), ones));
  }
  for (; x < n; ++x) dst[x] = Mean(a[x], b[x]);
}

void HalveBitmap(const Bitmap& source, Bitmap& destination) {
  const int width = destination.Width();
  std::vector<std::uint8_t> scratch(std::size_t(width) * 6);
  for (int r = 0; r < destination.Height(); ++r)
    HalveRow(source.Row(2 * r), source.Row(2 * r + 1), destination.Row(r), width, scratch.data());
}

}  // namespace glyphary
