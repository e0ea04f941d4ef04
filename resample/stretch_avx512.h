// Pieces shared by the 512-bit area kernels. Every 18-bit weight is
// w = (w >> 14) * 2^14 + (w & 0x3FFF), and only the first and last source
// pixel of a span have a remainder: a byte dot product over up to four taps
// per 32-bit lane and a 16-bit one over the two ends give the exact sum. The
// normalised result (sum * factor) >> 40 is byte 5 of the 64-bit product;
// where no result can pass 255 (checked beforehand), byte permutes take it
// straight from the products, with no shifts, blends or packs.
#pragma once

#include "resample/vectors.h"

#if GLYPHARY_X86_VECTORS
#include <immintrin.h>

#include <cstdint>

namespace glyphary::avx512 {

inline constexpr int kWholeShift = 14;
inline constexpr std::uint32_t kRemainderMask = (1u << kWholeShift) - 1;

// Whether every result of sources weighing weightSum in all stays within a
// byte; the results only grow with the source bytes.
inline bool FitsAByte(std::uint64_t weightSum, std::uint32_t factor) {
  return ((131072 + 255 * weightSum) * factor) >> 40 <= 255;
}

// Index, for a two-table byte permute of the even-lane and odd-lane products
// of one vector of sums, of the result of lane `lane` (0..15).
inline std::uint8_t ResultIndex(int lane) {
  return std::uint8_t((lane % 2 == 1 ? 64 : 0) + 8 * (lane / 2) + 5);
}

// 131072 + the weighted taps: wholes holds w >> 14 of each tap as a byte,
// ends the two partial taps as 16-bit words and remainders their w & 0x3FFF.
// The rounding half enters as 8 * 2^14.
[[gnu::always_inline]] GLYPHARY_AVX512 inline __m512i AreaSum(__m512i taps, __m512i wholes,
                                                              __m512i ends, __m512i remainders) {
  const __m512i whole = _mm512_dpbusd_epi32(_mm512_set1_epi32(8), taps, wholes);
  return _mm512_dpwssd_epi32(_mm512_slli_epi32(whole, kWholeShift), ends, remainders);
}

// The sixteen result bytes of sums at the positions index puts them, zero
// outside mask.
[[gnu::always_inline]] GLYPHARY_AVX512 inline __m512i ResultBytes(__m512i sums, __m512i factor,
                                                                  __m512i index, __mmask64 mask) {
  const __m512i even = _mm512_mul_epu32(sums, factor);
  const __m512i odd = _mm512_mul_epu32(_mm512_srli_epi64(sums, 32), factor);
  return _mm512_maskz_permutex2var_epi8(mask, even, index, odd);
}

}  // namespace glyphary::avx512
#endif
