// Exact halving with 512-bit vectors: the complemented averages of halve.cpp
// over 64 bytes at a time, and one byte permute that gathers the 33 output
// bytes (the first three of every six) of the 11 pixels they hold. Masked
// loads and stores take the end of the row, so no other kernel is needed.
#include "resample/vectors.h"

#if GLYPHARY_X86_VECTORS
#include <immintrin.h>

#include <cstdint>

#include "resample/stretch_kernels.h"

namespace glyphary {
namespace {

constexpr int kPixels = 11;  // output pixels per 64 means

GLYPHARY_BEGIN_512_BIT_INTRINSICS

GLYPHARY_AVX512 inline __m512i Flipped(const std::uint8_t* p, __mmask64 mask, __m512i ones) {
  return _mm512_xor_si512(_mm512_maskz_loadu_epi8(mask, p), ones);
}

template <bool kTwoRows>
GLYPHARY_AVX512 inline __m512i Means(const std::uint8_t* top, const std::uint8_t* bottom,
                                     __mmask64 mask, __m512i ones) {
  const __m512i upper = _mm512_avg_epu8(Flipped(top, mask, ones), Flipped(top + 3, mask, ones));
  if constexpr (!kTwoRows) return upper;
  return _mm512_avg_epu8(
      upper, _mm512_avg_epu8(Flipped(bottom, mask, ones), Flipped(bottom + 3, mask, ones)));
}

template <bool kTwoRows>
GLYPHARY_AVX512 void HalveRowWith(const std::uint8_t* top, const std::uint8_t* bottom,
                                  std::uint8_t* dst, int width) {
  alignas(64) std::uint8_t order[64] = {};
  for (int j = 0; j < 3 * kPixels; ++j) order[j] = std::uint8_t(6 * (j / 3) + j % 3);
  const __m512i index = _mm512_load_si512(order);
  const __m512i ones = _mm512_set1_epi8(-1);
  for (int c = 0; c < width; c += kPixels) {
    const int n = width - c < kPixels ? width - c : kPixels;
    // n pixels read 6n - 3 bytes from each of the two loads of a row.
    const __mmask64 loads = (__mmask64(1) << (6 * n - 3)) - 1;
    const __mmask64 stores = (__mmask64(1) << (3 * n)) - 1;
    const std::size_t in = 6 * std::size_t(c);
    const __m512i means = Means<kTwoRows>(top + in, bottom + in, loads, ones);
    _mm512_mask_storeu_epi8(dst + 3 * std::size_t(c), stores,
                            _mm512_xor_si512(_mm512_permutexvar_epi8(index, means), ones));
  }
}

GLYPHARY_AVX512 void MeansOfRows(const std::uint8_t* a, const std::uint8_t* b, std::uint8_t* dst,
                                 std::size_t n) {
  const __m512i ones = _mm512_set1_epi8(-1);
  for (std::size_t x = 0; x < n; x += 64) {
    const __mmask64 mask = n - x >= 64 ? ~__mmask64(0) : (__mmask64(1) << (n - x)) - 1;
    const __m512i mean = _mm512_avg_epu8(Flipped(a + x, mask, ones), Flipped(b + x, mask, ones));
    _mm512_mask_storeu_epi8(dst + x, mask, _mm512_xor_si512(mean, ones));
  }
}

GLYPHARY_END_512_BIT_INTRINSICS

}  // namespace

void HalveRow512(const std::uint8_t* top, const std::uint8_t* bottom, std::uint8_t* dst,
                 int width) {
  if (top == bottom)
    HalveRowWith<false>(top, top, dst, width);
  else
    HalveRowWith<true>(top, bottom, dst, width);
}

void MeanOfRows512(const std::uint8_t* a, const std::uint8_t* b, std::uint8_t* dst, std::size_t n) {
  MeansOfRows(a, b, dst, n);
}

}  // namespace glyphary
#endif
