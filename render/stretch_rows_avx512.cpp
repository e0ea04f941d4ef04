// The height pass of the area average with 512-bit vectors, for up to four
// source rows per destination row. The same byte of the four rows is
// interleaved into one 32-bit lane, so that three byte dot products (the
// 18-bit weights split into 7-bit pieces as in shrink_spans_avx512.cpp) give
// its exact sum; unpacks and packs stay inside 128-bit lanes and leave the
// bytes in order. Masked loads and stores take the end of the row too.
#include <immintrin.h>

#include <cstdint>

#include "render/stretch_kernels.h"

namespace glyphary {
namespace {

// One byte piece of each of the four weights, in a 32-bit lane.
std::int32_t Pieces(const std::uint32_t (&w)[4], int shift, std::uint32_t mask) {
  std::uint32_t lane = 0;
  for (int t = 0; t < 4; ++t) lane |= ((w[t] >> shift) & mask) << (8 * t);
  return std::int32_t(lane);
}

#pragma GCC push_options
#pragma GCC target("avx512f,avx512bw,avx512vnni")
// GCC 12's own 512-bit intrinsics start from deliberately undefined vectors.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

inline __m512i Normalise(__m512i sum, __m512i factor) {
  const __m512i even = _mm512_srli_epi64(_mm512_mul_epu32(sum, factor), 40);
  const __m512i odd = _mm512_srli_epi64(_mm512_mul_epu32(_mm512_srli_epi64(sum, 32), factor), 8);
  return _mm512_mask_blend_epi32(0xAAAA, even, odd);
}

struct Weights {
  __m512i a, b, c, factor;
};

inline __m512i Sum(__m512i taps, const Weights& w) {
  const __m512i a = _mm512_dpbusd_epi32(_mm512_setzero_si512(), taps, w.a);
  const __m512i b = _mm512_dpbusd_epi32(_mm512_setzero_si512(), taps, w.b);
  const __m512i c = _mm512_dpbusd_epi32(_mm512_set1_epi32(131072), taps, w.c);
  const __m512i ab = _mm512_add_epi32(_mm512_slli_epi32(a, 7), b);
  return Normalise(_mm512_add_epi32(_mm512_slli_epi32(ab, 7), c), w.factor);
}

// 64 destination bytes (or the first `mask` of them) from four rows at x.
inline void Chunk(const std::uint8_t* const (&rows)[4], std::size_t x, __mmask64 mask,
                  std::uint8_t* dst, const Weights& w) {
  __m512i r[4];
  for (int t = 0; t < 4; ++t) r[t] = _mm512_maskz_loadu_epi8(mask, rows[t] + x);
  const __m512i low01 = _mm512_unpacklo_epi8(r[0], r[1]), high01 = _mm512_unpackhi_epi8(r[0], r[1]);
  const __m512i low23 = _mm512_unpacklo_epi8(r[2], r[3]), high23 = _mm512_unpackhi_epi8(r[2], r[3]);
  const __m512i s0 = Sum(_mm512_unpacklo_epi16(low01, low23), w);
  const __m512i s1 = Sum(_mm512_unpackhi_epi16(low01, low23), w);
  const __m512i s2 = Sum(_mm512_unpacklo_epi16(high01, high23), w);
  const __m512i s3 = Sum(_mm512_unpackhi_epi16(high01, high23), w);
  const __m512i bytes = _mm512_packus_epi16(_mm512_packs_epi32(s0, s1), _mm512_packs_epi32(s2, s3));
  _mm512_mask_storeu_epi8(dst + x, mask, bytes);
}

void RowsWith(const std::uint8_t* const (&rows)[4], const std::uint32_t (&weights)[4],
              std::uint8_t* dst, std::size_t n, std::uint32_t factor) {
  const Weights w{
      _mm512_set1_epi32(Pieces(weights, 14, 0xFF)), _mm512_set1_epi32(Pieces(weights, 7, 127)),
      _mm512_set1_epi32(Pieces(weights, 0, 127)), _mm512_set1_epi32(std::int32_t(factor))};
  std::size_t x = 0;
  for (; x + 64 <= n; x += 64) Chunk(rows, x, ~__mmask64(0), dst, w);
  if (x < n) Chunk(rows, x, (__mmask64(1) << (n - x)) - 1, dst, w);
}

#pragma GCC diagnostic pop
#pragma GCC pop_options

}  // namespace

bool AreaRows512(const std::uint8_t* const* rows, const std::uint32_t* weights, int count,
                 std::uint8_t* dst, std::size_t n, std::uint32_t factor) {
  if (count < 1 || count > 4 || !Vectors512()) return false;
  // Missing rows repeat the first at weight 0.
  const std::uint8_t* four[4] = {rows[0], rows[0], rows[0], rows[0]};
  std::uint32_t w[4] = {0, 0, 0, 0};
  for (int t = 0; t < count; ++t) {
    if (weights[t] > 262144) return false;  // more than a whole pixel: not an area weight
    four[t] = rows[t];
    w[t] = weights[t];
  }
  RowsWith(four, w, dst, n, factor);
  return true;
}

}  // namespace glyphary
