// SSE2 (the x86-64 baseline) has no 32-bit lane multiply, but pmaddwd gives
// exact 16 x 16 -> 32-bit products of byte pairs summed per lane. Each weight
// is split as high * 2^15 + low so both halves fit a signed 16-bit lane; the
// sums are then put back together in 32 bits with the same value as the plain
// arithmetic.
#include "render/stretch_rows.h"

#include <emmintrin.h>

namespace glyphary {
namespace {

constexpr std::int32_t kLowBits = 15;
constexpr std::int32_t kLowMask = (1 << kLowBits) - 1;

// Two weights side by side in every 32-bit lane, matching byte pairs (a, b).
__m128i PairOf(std::int32_t a, std::int32_t b) {
  return _mm_set1_epi32(std::int32_t(std::uint16_t(a)) |
                        std::int32_t(std::uint32_t(std::uint16_t(b)) << 16));
}

struct SplitPair {
  __m128i high, low;
};

SplitPair Split(std::int32_t a, std::int32_t b) {
  return {PairOf(a >> kLowBits, b >> kLowBits), PairOf(a & kLowMask, b & kLowMask)};
}

// Four 32-bit lanes of byte pairs, for bytes 4q .. 4q + 3 of the two rows.
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

inline __m128i Load(const std::uint8_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

inline void Store(std::uint8_t* p, __m128i v) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

// Sixteen 32-bit results, saturated to bytes.
inline __m128i PackBytes(const __m128i (&r)[4]) {
  return _mm_packus_epi16(_mm_packs_epi32(r[0], r[1]), _mm_packs_epi32(r[2], r[3]));
}

inline std::uint8_t ClampCubic(std::int32_t sum) {
  return std::uint8_t(sum < 0 ? 0 : sum > 255 * 1048576 ? 255 : sum >> 20);
}

// (sum * factor) >> 40 for four unsigned 32-bit sums.
inline __m128i Normalise(__m128i sum, __m128i factor) {
  const __m128i even = _mm_mul_epu32(sum, factor);
  const __m128i odd = _mm_mul_epu32(_mm_srli_epi64(sum, 32), factor);
  const __m128i upperHalves = _mm_set_epi32(-1, 0, -1, 0);
  return _mm_or_si128(_mm_srli_epi64(even, 40), _mm_and_si128(_mm_srli_epi64(odd, 8), upperHalves));
}

inline std::uint8_t NormaliseOne(std::uint32_t sum, std::uint32_t factor) {
  const std::uint64_t value = (std::uint64_t(sum) * factor) >> 40;
  return std::uint8_t(value > 255 ? 255 : value);
}

}  // namespace

void CubicRows(const std::uint8_t* const rows[4], std::uint8_t* dst, std::size_t n,
               const CubicWeightSet& w) {
  const SplitPair w01 = Split(w[0], w[1]), w23 = Split(w[2], w[3]);
  const __m128i halfUnit = _mm_set1_epi32(524288 >> kLowBits);
  std::size_t x = 0;
  for (; x + 16 <= n; x += 16) {
    const __m128i a = Load(rows[0] + x), b = Load(rows[1] + x);
    const __m128i c = Load(rows[2] + x), d = Load(rows[3] + x);
    const __m128i abLow = _mm_unpacklo_epi8(a, b), abHigh = _mm_unpackhi_epi8(a, b);
    const __m128i cdLow = _mm_unpacklo_epi8(c, d), cdHigh = _mm_unpackhi_epi8(c, d);
    __m128i r[4];
    for (int q = 0; q < 4; ++q) {
      const __m128i ab = Quarter(abLow, abHigh, q), cd = Quarter(cdLow, cdHigh, q);
      const __m128i high =
          _mm_add_epi32(_mm_madd_epi16(ab, w01.high), _mm_madd_epi16(cd, w23.high));
      const __m128i low = _mm_add_epi32(_mm_madd_epi16(ab, w01.low), _mm_madd_epi16(cd, w23.low));
      const __m128i sum =
          _mm_add_epi32(_mm_slli_epi32(_mm_add_epi32(high, halfUnit), kLowBits), low);
      r[q] = _mm_srai_epi32(sum, 20);  // below 0 and above 255 saturate in the packs
    }
    Store(dst + x, PackBytes(r));
  }
  for (; x < n; ++x)
    dst[x] = ClampCubic(524288 + rows[0][x] * w[0] + rows[1][x] * w[1] + rows[2][x] * w[2] +
                        rows[3][x] * w[3]);
}

void AreaRows(const std::uint8_t* const* rows, const std::uint32_t* weights, int count,
              std::uint8_t* dst, std::size_t n, std::uint32_t factor) {
  const __m128i factors = _mm_set1_epi32(std::int32_t(factor));
  const __m128i half = _mm_set1_epi32(131072);
  std::size_t x = 0;
  for (; x + 16 <= n; x += 16) {
    __m128i high[4], low[4];
    for (int q = 0; q < 4; ++q) high[q] = low[q] = _mm_setzero_si128();
    for (int t = 0; t < count; t += 2) {
      // An odd last row pairs with itself at weight 0.
      const int u = t + 1 < count ? t + 1 : t;
      const std::uint32_t other = t + 1 < count ? weights[u] : 0;
      const SplitPair w = Split(std::int32_t(weights[t]), std::int32_t(other));
      const __m128i a = Load(rows[t] + x), b = Load(rows[u] + x);
      const __m128i abLow = _mm_unpacklo_epi8(a, b), abHigh = _mm_unpackhi_epi8(a, b);
      for (int q = 0; q < 4; ++q) {
        const __m128i ab = Quarter(abLow, abHigh, q);
        high[q] = _mm_add_epi32(high[q], _mm_madd_epi16(ab, w.high));
        low[q] = _mm_add_epi32(low[q], _mm_madd_epi16(ab, w.low));
      }
    }
    __m128i r[4];
    for (int q = 0; q < 4; ++q) {
      const __m128i sum =
          _mm_add_epi32(_mm_add_epi32(_mm_slli_epi32(high[q], kLowBits), low[q]), half);
      r[q] = Normalise(sum, factors);
    }
    Store(dst + x, PackBytes(r));
  }
  for (; x < n; ++x) {
    std::uint32_t sum = 131072;
    for (int t = 0; t < count; ++t) sum += rows[t][x] * weights[t];
    dst[x] = NormaliseOne(sum, factor);
  }
}

}  // namespace glyphary
