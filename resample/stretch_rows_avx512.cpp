// The height pass of the area average with 512-bit vectors, for up to four
// source rows per destination row. The same byte of the four rows is
// interleaved into one 32-bit lane, and a byte shuffle picks the two partial
// rows' bytes out as words; sums and results come as stretch_avx512.h
// describes. Masked loads and stores take the end of the row too.
#include "resample/vectors.h"

#if GLYPHARY_X86_VECTORS
#include <immintrin.h>

#include <cstdint>
#include <cstring>

#include "resample/stretch_avx512.h"
#include "resample/stretch_kernels.h"

namespace glyphary {
namespace {

// The bytes w >> 14 of the four weights, in a 32-bit lane.
std::int32_t WholesOf(const std::uint32_t (&w)[4]) {
  std::uint32_t lane = 0;
  for (int t = 0; t < 4; ++t) lane |= (w[t] >> avx512::kWholeShift) << (8 * t);
  return std::int32_t(lane);
}

// The rows (at most two) whose weights have a remainder below 2^14: per
// 32-bit lane, the byte shuffle that makes them two 16-bit words, and their
// remainders as words. False where more than two have one.
bool EndsOf(const std::uint32_t (&w)[4], std::uint8_t (&shuffle)[64], std::int32_t& remainders) {
  int ends = 0;
  std::uint32_t lane = 0;
  for (int t = 0; t < 4; ++t) {
    const std::uint32_t remainder = w[t] & avx512::kRemainderMask;
    if (remainder == 0) continue;
    if (ends == 2) return false;
    for (int byte = 0; byte < 64; byte += 4) shuffle[byte + 2 * ends] = std::uint8_t(byte % 16 + t);
    lane |= remainder << (16 * ends);
    ++ends;
  }
  remainders = std::int32_t(lane);
  return true;
}

// The unpacks leave byte 16L + 4m + q of the chunk in lane 4L + q of sums m.
std::int64_t ResultOrder(int m, std::uint8_t (&index)[64]) {
  std::int64_t mask = 0;
  for (int lane = 0; lane < 16; ++lane) {
    const int position = 16 * (lane / 4) + 4 * m + lane % 4;
    index[position] = avx512::ResultIndex(lane);
    mask |= std::int64_t(1) << position;
  }
  return mask;
}

GLYPHARY_BEGIN_512_BIT_INTRINSICS

struct Constants {
  __m512i wholes, ends, remainders, factor;
  __m512i order[4];
  __mmask64 masks[4];
};

GLYPHARY_AVX512 inline __m512i Bytes(__m512i taps, const Constants& k, int m) {
  const __m512i ends = _mm512_shuffle_epi8(taps, k.ends);
  return avx512::ResultBytes(avx512::AreaSum(taps, k.wholes, ends, k.remainders), k.factor,
                             k.order[m], k.masks[m]);
}

// 64 destination bytes (or the first `mask` of them) from four rows at x.
GLYPHARY_AVX512 inline void Chunk(const std::uint8_t* const (&rows)[4], std::size_t x,
                                  __mmask64 mask, std::uint8_t* dst, const Constants& k) {
  __m512i r[4];
  for (int t = 0; t < 4; ++t) r[t] = _mm512_maskz_loadu_epi8(mask, rows[t] + x);
  const __m512i low01 = _mm512_unpacklo_epi8(r[0], r[1]), high01 = _mm512_unpackhi_epi8(r[0], r[1]);
  const __m512i low23 = _mm512_unpacklo_epi8(r[2], r[3]), high23 = _mm512_unpackhi_epi8(r[2], r[3]);
  const __m512i bytes =
      _mm512_or_si512(_mm512_or_si512(Bytes(_mm512_unpacklo_epi16(low01, low23), k, 0),
                                      Bytes(_mm512_unpackhi_epi16(low01, low23), k, 1)),
                      _mm512_or_si512(Bytes(_mm512_unpacklo_epi16(high01, high23), k, 2),
                                      Bytes(_mm512_unpackhi_epi16(high01, high23), k, 3)));
  _mm512_mask_storeu_epi8(dst + x, mask, bytes);
}

GLYPHARY_AVX512 void RowsWith(const std::uint8_t* const (&rows)[4],
                              const std::uint32_t (&weights)[4], const std::uint8_t (&ends)[64],
                              std::int32_t remainders, std::uint8_t* dst, std::size_t n,
                              std::uint32_t factor) {
  Constants k;
  k.wholes = _mm512_set1_epi32(WholesOf(weights));
  k.ends = _mm512_loadu_si512(ends);
  k.remainders = _mm512_set1_epi32(remainders);
  k.factor = _mm512_set1_epi32(std::int32_t(factor));
  for (int m = 0; m < 4; ++m) {
    alignas(64) std::uint8_t index[64] = {};
    k.masks[m] = __mmask64(ResultOrder(m, index));
    k.order[m] = _mm512_load_si512(index);
  }
  std::size_t x = 0;
  for (; x + 64 <= n; x += 64) Chunk(rows, x, ~__mmask64(0), dst, k);
  if (x < n) Chunk(rows, x, (__mmask64(1) << (n - x)) - 1, dst, k);
}

GLYPHARY_END_512_BIT_INTRINSICS

}  // namespace

bool AreaRows512(const std::uint8_t* const* rows, const std::uint32_t* weights, int count,
                 std::uint8_t* dst, std::size_t n, std::uint32_t factor) {
  if (count < 1 || count > 4) return false;
  // Missing rows repeat the first at weight 0.
  const std::uint8_t* four[4] = {rows[0], rows[0], rows[0], rows[0]};
  std::uint32_t w[4] = {0, 0, 0, 0};
  std::uint64_t weightSum = 0;
  for (int t = 0; t < count; ++t) {
    if (weights[t] > 262144) return false;  // more than a whole pixel: not an area weight
    four[t] = rows[t];
    w[t] = weights[t];
    weightSum += weights[t];
  }
  if (!avx512::FitsAByte(weightSum, factor)) return false;
  std::uint8_t ends[64];
  std::memset(ends, 0x80, sizeof ends);  // bytes the shuffle zeroes
  std::int32_t remainders = 0;
  if (!EndsOf(w, ends, remainders)) return false;
  RowsWith(four, w, ends, remainders, dst, n, factor);
  return true;
}

}  // namespace glyphary
#endif
