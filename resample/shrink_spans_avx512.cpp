// The short-span width pass with 512-bit vectors, where the processor has
// byte permutes (VBMI) and dot products (VNNI). Sixteen destination pixels
// (48 bytes) make a block: three vectors of sixteen 32-bit sums, vector i for
// destination bytes 16i..16i + 15. Their source bytes all lie within one
// 64-byte window (at most six destination pixels of spans under three
// pixels), so permutes gather each sum's taps into its lane. Every weight is
// w = (w >> 14) * 2^14 + (w & 0x3FFF), and only a span's first and last
// pixel have a remainder; sums and results come as stretch_avx512.h
// describes. A masked store writes exactly the block's bytes, the last
// block's too.
#include "resample/vectors.h"

#if GLYPHARY_X86_VECTORS
#include <immintrin.h>

#include <cstdint>
#include <cstring>

#include "resample/stretch_avx512.h"
#include "resample/stretch_kernels.h"

namespace glyphary {
namespace {

constexpr int kBlockPixels = 16;
constexpr int kBlockBytes = 3 * kBlockPixels;
constexpr int kWindow = 64;
// Per vector: gather indices of the taps and of the two ends, the taps'
// pieces w >> 14 as bytes, the ends' remainders w & 0x3FFF as 16-bit words.
constexpr std::size_t kTableBytes = 4 * kWindow;
constexpr int kEndIndices = kWindow, kWholes = 2 * kWindow, kRemainders = 3 * kWindow;

// Fills the tables of vector i of the block at pixel j; false if a weighted
// source byte lies outside the window.
bool PlanVector(const ShrinkTable& table, int sourceWidth, int j, int i, ShortSpanRows& plan) {
  const int width = int(table.first.size());
  const int firstPixel = j + 16 * i / 3;
  std::uint8_t* t = plan.tables512.data() + plan.tables512.size() - 3 * kTableBytes +
                    std::size_t(i) * kTableBytes;
  if (firstPixel >= width) {
    plan.starts512.push_back(0);
    plan.loadMasks512.push_back(0);
    return true;
  }
  const std::int64_t start = 3 * std::int64_t(table.first[firstPixel]);
  const std::int64_t available = 3 * std::int64_t(sourceWidth) - start;
  plan.starts512.push_back(start);
  plan.loadMasks512.push_back(available >= kWindow ? ~std::uint64_t(0)
                                                   : (std::uint64_t(1) << available) - 1);
  // Built in locals: stores through byte pointers would make the compiler
  // read the table's vectors afresh after each.
  const int count = table.count;
  const std::int32_t* first = table.first.data();
  const std::uint32_t* weights = table.weights.data();
  std::uint8_t built[kTableBytes] = {};
  for (int d = 0; d < 16; ++d) {
    const int v = 16 * i + d, pixel = j + v / 3, k = v % 3;
    if (pixel >= width) break;
    int ends = 0;
    for (int tap = 0; tap < count; ++tap) {
      const std::uint32_t w = weights[std::size_t(pixel) * count + tap];
      if (w == 0) continue;
      const std::int64_t offset = 3 * std::int64_t(first[pixel] + tap) + k - start;
      if (offset < 0 || offset >= kWindow) return false;
      built[4 * d + tap] = std::uint8_t(offset);
      built[kWholes + 4 * d + tap] = std::uint8_t(w >> avx512::kWholeShift);
      const std::uint32_t remainder = w & avx512::kRemainderMask;
      if (remainder == 0) continue;
      if (ends == 2) return false;  // only a span's first and last pixel are partial
      built[kEndIndices + 4 * d + 2 * ends] = std::uint8_t(offset);
      built[kRemainders + 4 * d + 2 * ends] = std::uint8_t(remainder);
      built[kRemainders + 4 * d + 2 * ends + 1] = std::uint8_t(remainder >> 8);
      ++ends;
    }
  }
  std::memcpy(t, built, kTableBytes);
  return true;
}

GLYPHARY_BEGIN_512_BIT_INTRINSICS

GLYPHARY_AVX512 inline __m512i Load64(const std::uint8_t* p) {
  return _mm512_loadu_si512(p);
}

// Where vector i's results go: bytes 16i..16i + 15 of the block.
GLYPHARY_AVX512 inline __m512i ResultOrder(int i) {
  alignas(64) std::uint8_t index[64] = {};
  for (int lane = 0; lane < 16; ++lane) index[16 * i + lane] = avx512::ResultIndex(lane);
  return _mm512_load_si512(index);
}

// One vector's window and tables, held in registers across the rows of a
// strip (stores through byte pointers would otherwise reload them).
struct VectorPlan {
  std::int64_t start;
  __mmask64 loadMask;
  __m512i indices, endIndices, wholes, remainders;
};

[[gnu::always_inline]] GLYPHARY_AVX512 inline VectorPlan LoadVectorPlan(std::int64_t start,
                                                                        std::uint64_t loadMask,
                                                                        const std::uint8_t* t) {
  return {start,
          loadMask,
          Load64(t),
          Load64(t + kEndIndices),
          Load64(t + kWholes),
          Load64(t + kRemainders)};
}

// Sums of one vector: up to four taps per lane gathered from the window.
[[gnu::always_inline]] GLYPHARY_AVX512 inline __m512i VectorSums(const std::uint8_t* src,
                                                                 const VectorPlan& v) {
  const __m512i window = _mm512_maskz_loadu_epi8(v.loadMask, src + v.start);
  const __m512i taps = _mm512_permutexvar_epi8(v.indices, window);
  const __m512i ends = _mm512_maskz_permutexvar_epi8(0x5555555555555555, v.endIndices, window);
  return avx512::AreaSum(taps, v.wholes, ends, v.remainders);
}

GLYPHARY_AVX512 void ShrinkBlocks(const ShortSpanRows& plan, const std::uint8_t* const* src,
                                  std::uint8_t* const* dst, int rows, std::uint32_t factorValue,
                                  int width) {
  const __m512i factor = _mm512_set1_epi32(std::int32_t(factorValue));
  const __m512i order[3] = {ResultOrder(0), ResultOrder(1), ResultOrder(2)};
  for (std::size_t b = 0; b < plan.blocks; ++b) {
    const std::uint8_t* t = plan.tables512.data() + 3 * kTableBytes * b;
    VectorPlan vectors[3];
    for (int i = 0; i < 3; ++i)
      vectors[i] = LoadVectorPlan(plan.starts512[3 * b + i], plan.loadMasks512[3 * b + i],
                                  t + i * kTableBytes);
    const int left = width - kBlockPixels * int(b);
    const int pixels = left < kBlockPixels ? left : kBlockPixels;
    const __mmask64 storeMask = (std::uint64_t(1) << (3 * pixels)) - 1;
    for (int r = 0; r < rows; ++r) {
      __m512i bytes = _mm512_setzero_si512();
      for (int i = 0; i < 3; ++i)
        bytes =
            _mm512_or_si512(bytes, avx512::ResultBytes(VectorSums(src[r], vectors[i]), factor,
                                                       order[i], __mmask64(0xFFFF) << (16 * i)));
      _mm512_mask_storeu_epi8(dst[r] + kBlockBytes * b, storeMask, bytes);
    }
  }
}

GLYPHARY_END_512_BIT_INTRINSICS

}  // namespace

bool Plan512(const ShrinkTable& table, int sourceWidth, ShortSpanRows& plan) {
  if (table.count > 4) return false;
  const int width = int(table.first.size());
  for (int j = 0; j < width; ++j) {
    std::uint64_t weightSum = 0;
    for (int tap = 0; tap < table.count; ++tap)
      weightSum += table.weights[std::size_t(j) * table.count + tap];
    if (!avx512::FitsAByte(weightSum, table.factor)) return false;
  }
  plan.blocks = (std::size_t(width) + kBlockPixels - 1) / kBlockPixels;
  plan.tailFrom = width;  // the blocks cover the row, the last one in part
  plan.tables512.reserve(plan.blocks * 3 * kTableBytes);
  for (int j = 0; j < width; j += kBlockPixels) {
    plan.tables512.resize(plan.tables512.size() + 3 * kTableBytes, 0);
    for (int i = 0; i < 3; ++i) {
      if (PlanVector(table, sourceWidth, j, i, plan)) continue;
      plan.tables512.clear();
      plan.starts512.clear();
      plan.loadMasks512.clear();
      plan.blocks = 0;
      plan.tailFrom = 0;
      return false;
    }
  }
  return true;
}

void Shrink512(const ShortSpanRows& plan, const std::uint8_t* const* src, std::uint8_t* const* dst,
               int rows, std::uint32_t factor) {
  ShrinkBlocks(plan, src, dst, rows, factor, plan.tailFrom);
}

}  // namespace glyphary
#endif
