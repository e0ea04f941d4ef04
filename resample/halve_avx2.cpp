// Exact halving with 256-bit vectors, for processors that have AVX2: the
// complemented averages of halve.cpp over 32 bytes at a time. Of the means,
// only the first three bytes of every six are output bytes; a byte shuffle
// gathers them to the front of each 128-bit half, and the halves are stored
// one after the other, each over the unused end of the one before.
#include "resample/vectors.h"

#if GLYPHARY_X86_VECTORS
#include <immintrin.h>

#include <cstdint>

#include "resample/stretch_kernels.h"

namespace glyphary {
namespace {

// A block is 96 bytes of each source row (32 pixels) and 48 output bytes:
// three vectors of means, six 128-bit halves.
constexpr int kBlockPixels = 16;  // output pixels
constexpr int kHalves = 6;

struct BlockPlan {
  std::uint8_t shuffles[16 * kHalves];  // per vector, both halves
  int starts[kHalves + 1];              // output byte of each half
};

constexpr BlockPlan MakeBlockPlan() {
  BlockPlan plan{};
  for (int half = 0; half < kHalves; ++half) {
    int taken = 0;
    for (int q = 0; q < 16; ++q)
      if ((16 * half + q) % 6 < 3) plan.shuffles[16 * half + taken++] = std::uint8_t(q);
    for (int j = taken; j < 16; ++j) plan.shuffles[16 * half + j] = 0x80;
    plan.starts[half + 1] = plan.starts[half] + taken;
  }
  return plan;
}

constexpr BlockPlan kPlan = MakeBlockPlan();
static_assert(kPlan.starts[kHalves] == 3 * kBlockPixels);

GLYPHARY_AVX2 inline __m256i Flipped(const std::uint8_t* p, __m256i ones) {
  return _mm256_xor_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)), ones);
}

// Complemented means of the bytes i and i + 3 of both rows (of one row when
// kTwoRows is false), for 32 i from p.
template <bool kTwoRows>
GLYPHARY_AVX2 inline __m256i Means(const std::uint8_t* top, const std::uint8_t* bottom,
                                   __m256i ones) {
  const __m256i upper = _mm256_avg_epu8(Flipped(top, ones), Flipped(top + 3, ones));
  if constexpr (!kTwoRows) return upper;
  return _mm256_avg_epu8(upper, _mm256_avg_epu8(Flipped(bottom, ones), Flipped(bottom + 3, ones)));
}

inline void Store16(std::uint8_t* p, __m128i v) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

template <bool kTwoRows>
GLYPHARY_AVX2 int HalveBlocks(const std::uint8_t* top, const std::uint8_t* bottom,
                              std::uint8_t* dst, int width) {
  const __m256i ones = _mm256_set1_epi8(-1);
  __m256i shuffles[kHalves / 2];
  for (int v = 0; v < kHalves / 2; ++v)
    shuffles[v] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(&kPlan.shuffles[32 * v]));
  int c = 0;
  // A block's loads reach three bytes past its 96, its last store nine past its 48.
  for (; 6 * std::size_t(c) + 114 <= 6 * std::size_t(width); c += kBlockPixels) {
    const std::uint8_t* upper = top + 6 * std::size_t(c);
    const std::uint8_t* lower = bottom + 6 * std::size_t(c);
    std::uint8_t* out = dst + 3 * std::size_t(c);
    for (int v = 0; v < kHalves / 2; ++v) {
      const __m256i means = Means<kTwoRows>(upper + 32 * v, lower + 32 * v, ones);
      const __m256i bytes = _mm256_xor_si256(_mm256_shuffle_epi8(means, shuffles[v]), ones);
      Store16(out + kPlan.starts[2 * v], _mm256_castsi256_si128(bytes));
      Store16(out + kPlan.starts[2 * v + 1], _mm256_extracti128_si256(bytes, 1));
    }
  }
  return c;
}

GLYPHARY_AVX2 std::size_t MeansOfRows(const std::uint8_t* a, const std::uint8_t* b,
                                      std::uint8_t* dst, std::size_t n) {
  const __m256i ones = _mm256_set1_epi8(-1);
  std::size_t x = 0;
  for (; x + 32 <= n; x += 32)
    _mm256_storeu_si256(
        reinterpret_cast<__m256i*>(dst + x),
        _mm256_xor_si256(_mm256_avg_epu8(Flipped(a + x, ones), Flipped(b + x, ones)), ones));
  return x;
}

}  // namespace

int HalveRowWide(const std::uint8_t* top, const std::uint8_t* bottom, std::uint8_t* dst,
                 int width) {
  return top == bottom ? HalveBlocks<false>(top, top, dst, width)
                       : HalveBlocks<true>(top, bottom, dst, width);
}

std::size_t MeanOfRowsWide(const std::uint8_t* a, const std::uint8_t* b, std::uint8_t* dst,
                           std::size_t n) {
  return MeansOfRows(a, b, dst, n);
}

}  // namespace glyphary
#endif
