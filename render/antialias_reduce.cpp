// The coverage of 2 × 2 scratch blocks, eight blocks at a time where SSE2 is there.
#include <cstring>

#include "render/antialias.h"
#include "resample/resample.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace glyphary {
namespace {

#if defined(__SSE2__)
// The first bytes of four scratch pixels as four 16-bit lanes of the low half.
inline __m128i BluesOf(const std::uint8_t* p) {
  const __m128i mask = _mm_set1_epi32(0xFF);
  return _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), mask);
}

// Eight blocks: sixteen pixels of each row, the first byte of each.
inline void ReduceEight(std::uint8_t* out, const std::uint8_t* s0, const std::uint8_t* s1) {
  const __m128i row0a = _mm_packs_epi32(BluesOf(s0), BluesOf(s0 + 16));
  const __m128i row0b = _mm_packs_epi32(BluesOf(s0 + 32), BluesOf(s0 + 48));
  const __m128i row1a = _mm_packs_epi32(BluesOf(s1), BluesOf(s1 + 16));
  const __m128i row1b = _mm_packs_epi32(BluesOf(s1 + 32), BluesOf(s1 + 48));
  const __m128i ones = _mm_set1_epi16(1);
  // Vertical pairs in 16 bits, horizontal pairs added by the multiply-add.
  const __m128i sumA = _mm_madd_epi16(_mm_add_epi16(row0a, row1a), ones);
  const __m128i sumB = _mm_madd_epi16(_mm_add_epi16(row0b, row1b), ones);
  const __m128i quarter = _mm_packs_epi32(_mm_srli_epi32(sumA, 2), _mm_srli_epi32(sumB, 2));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(quarter, quarter));
}
#endif

template <bool kVectors>
void ReduceRows(std::uint8_t* coverage, const std::uint8_t* s0, const std::uint8_t* s1, int count) {
  int k = 0;
#if defined(__SSE2__)
  if constexpr (kVectors)
    for (; k + 8 <= count; k += 8, s0 += 64, s1 += 64) ReduceEight(coverage + k, s0, s1);
#endif
  for (; k < count; ++k, s0 += 8, s1 += 8)
    coverage[k] = std::uint8_t((unsigned(s0[0]) + s0[4] + s1[0] + s1[4]) >> 2);
}

// The plain loop and the vector one, picked by the level the resampler chose.
constexpr decltype(&ReduceRows<false>) kReduceRows[] = {ReduceRows<false>, ReduceRows<true>};

}  // namespace

void ReduceScratchRows(std::uint8_t* coverage, const std::uint8_t* s0, const std::uint8_t* s1,
                       int count) {
  kReduceRows[VectorKernelsAllowed()](coverage, s0, s1, count);
}

void ReduceColourRows(std::uint8_t* colour, const std::uint8_t* s0, const std::uint8_t* s1,
                      int count) {
  for (int k = 0; k < count; ++k, s0 += 8, s1 += 8, colour += 4) {
    std::uint64_t top, bottom;
    std::memcpy(&top, s0, 8);
    std::memcpy(&bottom, s1, 8);
    // Round the pictures, the scratch stays clear.
    if ((top | bottom) == 0) {
      std::memset(colour, 0, 4);
      continue;
    }
    for (int c = 0; c < 4; ++c)
      colour[c] = std::uint8_t((unsigned(s0[c]) + s0[c + 4] + s1[c] + s1[c + 4] + 2) >> 2);
  }
}

}  // namespace glyphary
