// The area average's kernels again with 256-bit vectors, for processors that
// have AVX2; the rest of the build assumes SSE2 only, so only the functions
// marked GLYPHARY_AVX2 are built for AVX2, and they are reached only through
// the kernel table of the AVX2 and AVX-512 levels. The arithmetic is the SSE2 kernels' lane for
// lane: pmaddwd on split weights, 32-bit sums, (sum * factor) >> 40 with 32 x 32 -> 64-bit
// products. Unpacks and packs stay inside each 128-bit half, so the byte
// order comes back as it went in.
#include "resample/vectors.h"

#if GLYPHARY_X86_VECTORS
#include <immintrin.h>

#include <cstdint>

#include "resample/stretch_kernels.h"

namespace glyphary {
namespace {

constexpr int kLowBits = 15;

GLYPHARY_AVX2 inline __m256i Load32(const std::uint8_t* p) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

GLYPHARY_AVX2 inline void Store32(std::uint8_t* p, __m256i v) {
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}

// (sum * factor) >> 40 per 32-bit lane; the odd lanes' products are shifted
// so their results land in the upper halves, whose lower neighbours the
// blend drops.
GLYPHARY_AVX2 inline __m256i Normalise(__m256i sum, __m256i factor) {
  const __m256i even = _mm256_srli_epi64(_mm256_mul_epu32(sum, factor), 40);
  const __m256i odd = _mm256_srli_epi64(_mm256_mul_epu32(_mm256_srli_epi64(sum, 32), factor), 8);
  return _mm256_blend_epi32(even, odd, 0xAA);
}

// 32 area sums over count sources, source t read at src[t], the weights of
// sources 2i and 2i + 1 split as in SplitPair (highs[i], lows[i]).
template <int kCount>
GLYPHARY_AVX2 inline __m256i AreaChunk(int runtimeCount, const std::uint8_t* const* src,
                                       const std::int32_t* highs, const std::int32_t* lows,
                                       __m256i factor) {
  const int count = kCount > 0 ? kCount : runtimeCount;
  const __m256i zero = _mm256_setzero_si256();
  __m256i high[4] = {zero, zero, zero, zero}, low[4] = {zero, zero, zero, zero};
  for (int t = 0; t < count; t += 2) {
    const __m256i highWeights = _mm256_set1_epi32(highs[t / 2]);
    const __m256i lowWeights = _mm256_set1_epi32(lows[t / 2]);
    const __m256i a = Load32(src[t]), b = t + 1 < count ? Load32(src[t + 1]) : a;
    const __m256i abLow = _mm256_unpacklo_epi8(a, b), abHigh = _mm256_unpackhi_epi8(a, b);
    const __m256i ab[4] = {_mm256_unpacklo_epi8(abLow, zero), _mm256_unpackhi_epi8(abLow, zero),
                           _mm256_unpacklo_epi8(abHigh, zero), _mm256_unpackhi_epi8(abHigh, zero)};
    for (int q = 0; q < 4; ++q) {
      high[q] = _mm256_add_epi32(high[q], _mm256_madd_epi16(ab[q], highWeights));
      low[q] = _mm256_add_epi32(low[q], _mm256_madd_epi16(ab[q], lowWeights));
    }
  }
  const __m256i half = _mm256_set1_epi32(131072);
  __m256i r[4];
  for (int q = 0; q < 4; ++q)
    r[q] = Normalise(
        _mm256_add_epi32(_mm256_add_epi32(_mm256_slli_epi32(high[q], kLowBits), low[q]), half),
        factor);
  return _mm256_packus_epi16(_mm256_packs_epi32(r[0], r[1]), _mm256_packs_epi32(r[2], r[3]));
}

template <int kCount>
GLYPHARY_AVX2 void AreaColumnsWith(const std::uint8_t* columns, std::uint8_t* results,
                                   const AreaColumnsJob& job) {
  const int count = kCount > 0 ? kCount : job.count;
  const int pairs = (count + 1) / 2;
  const __m256i factor = _mm256_set1_epi32(std::int32_t(job.factor));
  const std::int32_t* highs = job.highs;
  const std::int32_t* lows = job.lows;
  const std::uint8_t* src[kMaxAreaTaps];
  for (std::size_t c = 0; c < job.width; ++c, highs += pairs, lows += pairs) {
    const std::uint8_t* base = columns + 96 * std::size_t(job.first[c]);
    for (int k = 0; k < 3; ++k, results += 32) {
      for (int t = 0; t < count; ++t) src[t] = base + 96 * t + 32 * k;
      Store32(results, AreaChunk<kCount>(count, src, highs, lows, factor));
    }
  }
}

template <int kCount>
GLYPHARY_AVX2 std::size_t AreaRowsWith(const AreaRowsJob& job, std::uint8_t* dst, std::size_t n) {
  const int count = kCount > 0 ? kCount : job.count;
  const __m256i factor = _mm256_set1_epi32(std::int32_t(job.factor));
  const std::uint8_t* src[kMaxAreaTaps];
  std::size_t x = 0;
  for (; x + 32 <= n; x += 32) {
    for (int t = 0; t < count; ++t) src[t] = job.rows[t] + x;
    Store32(dst + x, AreaChunk<kCount>(count, src, job.highs, job.lows, factor));
  }
  return x;
}

}  // namespace

void AreaColumnsWide(const std::uint8_t* columns, std::uint8_t* results,
                     const AreaColumnsJob& job) {
  WithTapCount<2, 5>(
      job.count, [&](auto taps) { AreaColumnsWith<decltype(taps)::value>(columns, results, job); });
}

std::size_t AreaRowsWide(const AreaRowsJob& job, std::uint8_t* dst, std::size_t n) {
  return WithTapCount<2, 4>(
      job.count, [&](auto taps) { return AreaRowsWith<decltype(taps)::value>(job, dst, n); });
}

}  // namespace glyphary
#endif
