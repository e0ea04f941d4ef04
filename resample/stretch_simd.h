// SSE2 building blocks of the resampler's kernels. SSE2 (the x86-64 baseline)
// has no 32-bit lane multiply, but pmaddwd gives exact 16 x 16 -> 32-bit
// products of byte pairs summed per lane. Each weight is split as
// high * 2^15 + low so both halves fit a signed 16-bit lane; the sums are put
// back together in 32 bits with the same value as the plain arithmetic.
#pragma once

#include "resample/vectors.h"

#if GLYPHARY_X86_VECTORS
#include <emmintrin.h>

#include <cstdint>

namespace glyphary::simd {

inline constexpr std::int32_t kLowBits = 15;
inline constexpr std::int32_t kLowMask = (1 << kLowBits) - 1;

inline __m128i Load(const std::uint8_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

inline void Store(std::uint8_t* p, __m128i v) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

// Two 16-bit weights side by side, as pmaddwd wants them for byte pairs (a, b).
inline std::int32_t PairOf(std::int32_t a, std::int32_t b) {
  return std::int32_t(std::uint32_t(std::uint16_t(a)) | std::uint32_t(std::uint16_t(b)) << 16);
}

struct SplitPair {
  std::int32_t high, low;
};

inline SplitPair Split(std::int32_t a, std::int32_t b) {
  return {PairOf(a >> kLowBits, b >> kLowBits), PairOf(a & kLowMask, b & kLowMask)};
}

// Four 32-bit lanes of byte pairs, for bytes 4q .. 4q + 3 of two interleaved
// vectors.
inline __m128i Quarter(__m128i interleavedLow, __m128i interleavedHigh, int q) {
  const __m128i zero = _mm_setzero_si128();
  switch (q) {
    case 0:
      return _mm_unpacklo_epi8(interleavedLow, zero);
    case 1:
      return _mm_unpackhi_epi8(interleavedLow, zero);
    case 2:
      return _mm_unpacklo_epi8(interleavedHigh, zero);
    default:
      return _mm_unpackhi_epi8(interleavedHigh, zero);
  }
}

// Sixteen 32-bit results, saturated to bytes.
inline __m128i PackBytes(const __m128i (&r)[4]) {
  return _mm_packus_epi16(_mm_packs_epi32(r[0], r[1]), _mm_packs_epi32(r[2], r[3]));
}

// 2^19 + a*w0 + b*w1 + c*w2 + d*w3 for 16 bytes, shifted down by 20 and
// saturated to 0..255 (the cubic rounding and clamp).
inline __m128i CubicChunk(__m128i a, __m128i b, __m128i c, __m128i d, SplitPair w01,
                          SplitPair w23) {
  const __m128i high01 = _mm_set1_epi32(w01.high), low01 = _mm_set1_epi32(w01.low);
  const __m128i high23 = _mm_set1_epi32(w23.high), low23 = _mm_set1_epi32(w23.low);
  const __m128i halfUnit = _mm_set1_epi32(524288 >> kLowBits);
  const __m128i abLow = _mm_unpacklo_epi8(a, b), abHigh = _mm_unpackhi_epi8(a, b);
  const __m128i cdLow = _mm_unpacklo_epi8(c, d), cdHigh = _mm_unpackhi_epi8(c, d);
  __m128i r[4];
  for (int q = 0; q < 4; ++q) {
    const __m128i ab = Quarter(abLow, abHigh, q), cd = Quarter(cdLow, cdHigh, q);
    const __m128i high = _mm_add_epi32(_mm_madd_epi16(ab, high01), _mm_madd_epi16(cd, high23));
    const __m128i low = _mm_add_epi32(_mm_madd_epi16(ab, low01), _mm_madd_epi16(cd, low23));
    const __m128i sum = _mm_add_epi32(_mm_slli_epi32(_mm_add_epi32(high, halfUnit), kLowBits), low);
    r[q] = _mm_srai_epi32(sum, 20);  // below 0 and above 255 saturate in the packs
  }
  return PackBytes(r);
}

// (sum * factor) >> 40 for four unsigned 32-bit sums.
inline __m128i Normalise(__m128i sum, __m128i factor) {
  const __m128i even = _mm_mul_epu32(sum, factor);
  const __m128i odd = _mm_mul_epu32(_mm_srli_epi64(sum, 32), factor);
  const __m128i upperHalves = _mm_set_epi32(-1, 0, -1, 0);
  return _mm_or_si128(_mm_srli_epi64(even, 40), _mm_and_si128(_mm_srli_epi64(odd, 8), upperHalves));
}

// Area sums of 16 bytes over count sources, rowAt(t) giving source t's 16
// bytes and split(t) the weights of sources t and t + 1 (0 past the end).
// The sums must fit 32 bits.
template <typename RowAt, typename SplitAt>
inline __m128i AreaChunk(int count, RowAt rowAt, SplitAt splitAt, __m128i factor) {
  __m128i high[4], low[4];
  for (int q = 0; q < 4; ++q) high[q] = low[q] = _mm_setzero_si128();
  for (int t = 0; t < count; t += 2) {
    const SplitPair w = splitAt(t);
    const __m128i highWeights = _mm_set1_epi32(w.high), lowWeights = _mm_set1_epi32(w.low);
    // An odd last source pairs with itself at weight 0.
    const __m128i a = rowAt(t), b = t + 1 < count ? rowAt(t + 1) : a;
    const __m128i abLow = _mm_unpacklo_epi8(a, b), abHigh = _mm_unpackhi_epi8(a, b);
    for (int q = 0; q < 4; ++q) {
      const __m128i ab = Quarter(abLow, abHigh, q);
      high[q] = _mm_add_epi32(high[q], _mm_madd_epi16(ab, highWeights));
      low[q] = _mm_add_epi32(low[q], _mm_madd_epi16(ab, lowWeights));
    }
  }
  const __m128i half = _mm_set1_epi32(131072);
  __m128i r[4];
  for (int q = 0; q < 4; ++q)
    r[q] = Normalise(_mm_add_epi32(_mm_add_epi32(_mm_slli_epi32(high[q], kLowBits), low[q]), half),
                     factor);
  return PackBytes(r);
}

}  // namespace glyphary::simd
#endif
