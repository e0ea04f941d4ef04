// The width pass of the area average straight from the rows when every
// destination pixel reads at most four source pixels (reductions below 3:1,
// among them the halving of odd sizes). Turning blocks of rows costs more than
// the sums themselves there; instead byte shuffles with per-lane tables gather
// each output byte's source bytes into 16-bit pairs for pmaddwd, with
// per-lane weights. The arithmetic is that of the other kernels: weights split
// at 2^15, 32-bit sums, (sum * factor) >> 40.
//
// Eight destination pixels (24 bytes) make a block: three 256-bit vectors of
// eight 32-bit sums. Lanes 0..3 of vector i hold bytes 4i..4i + 3 of the
// block and lanes 4..7 bytes 12 + 4i..15 + 4i, so that the packs, which keep
// to 128-bit halves, leave bytes 0..11 and 12..23 in order. Each group of four
// lanes reads its source bytes from 16-byte windows, one per pair of taps.
#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "resample/stretch_kernels.h"
#include "resample/vectors.h"

#if GLYPHARY_X86_VECTORS
#include <immintrin.h>

#include "resample/stretch_simd.h"
#endif

namespace glyphary {
namespace {

#if GLYPHARY_X86_VECTORS
constexpr int kBlockPixels = 8;
constexpr int kGroups = 6;  // of four lanes per block
constexpr std::uint8_t kZero = 0x80;

struct Lane {
  std::uint8_t mask[4];
  std::int32_t high, low;
};

// Lane of byte v of the block at pixel j, pair p of taps, reading from the
// window that starts at source pixel windowPixel. False if a weighted source
// byte lies outside the window.
bool MakeLane(const ShrinkTable& table, int j, int v, int p, int windowPixel, Lane& lane) {
  const int pixel = j + v / 3, k = v % 3;
  std::int32_t w[2] = {0, 0};
  for (int s = 0; s < 2; ++s) {
    const int t = 2 * p + s;
    lane.mask[2 * s] = lane.mask[2 * s + 1] = kZero;
    if (t >= table.count) continue;
    w[s] = std::int32_t(table.weights[std::size_t(pixel) * table.count + t]);
    if (w[s] == 0) continue;
    const int offset = 3 * (table.first[pixel] + t - windowPixel) + k;
    if (offset < 0 || offset > 15) return false;
    lane.mask[2 * s] = std::uint8_t(offset);
  }
  const simd::SplitPair split = simd::Split(w[0], w[1]);
  lane.high = split.high;
  lane.low = split.low;
  return true;
}

enum class Block { kAdded, kLeavesRow, kSpansTooLong };

// Adds the tables of the block at pixel j, unless its windows would leave the
// row or miss a weighted tap.
Block AddBlock(const ShrinkTable& table, int sourceWidth, int j, ShortSpanRows& plan) {
  std::int32_t windows[kGroups];
  for (int g = 0; g < kGroups; ++g) {
    windows[g] = table.first[j + 4 * g / 3];
    if (3 * std::int64_t(windows[g] + 2 * (plan.pairs - 1)) + 16 > 3 * std::int64_t(sourceWidth))
      return Block::kLeavesRow;
  }
  // Vector i holds groups i (low half) and 3 + i (high half).
  Lane lanes[2][3][8];
  for (int p = 0; p < plan.pairs; ++p)
    for (int i = 0; i < 3; ++i)
      for (int l = 0; l < 8; ++l) {
        const int g = l < 4 ? i : 3 + i;
        if (!MakeLane(table, j, 4 * g + l % 4, p, windows[g] + 2 * p, lanes[p][i][l]))
          return Block::kSpansTooLong;
      }
  for (int p = 0; p < plan.pairs; ++p)
    for (int i = 0; i < 3; ++i)
      for (const Lane& lane : lanes[p][i]) {
        plan.masks.insert(plan.masks.end(), lane.mask, lane.mask + 4);
        plan.highs.push_back(lane.high);
        plan.lows.push_back(lane.low);
      }
  for (int g = 0; g < kGroups; ++g) plan.windows.push_back(3 * windows[g]);
  ++plan.blocks;
  return Block::kAdded;
}

GLYPHARY_AVX2 inline __m256i Load32(const void* p) {
  return _mm256_loadu_si256(static_cast<const __m256i*>(p));
}

GLYPHARY_AVX2 inline __m128i Load16(const std::uint8_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// (sum * factor) >> 40 per 32-bit lane; the odd lanes' products are shifted
// so their results land in the upper halves, whose lower neighbours the
// blend drops.
GLYPHARY_AVX2 inline __m256i Normalise(__m256i sum, __m256i factor) {
  const __m256i even = _mm256_srli_epi64(_mm256_mul_epu32(sum, factor), 40);
  const __m256i odd = _mm256_srli_epi64(_mm256_mul_epu32(_mm256_srli_epi64(sum, 32), factor), 8);
  return _mm256_blend_epi32(even, odd, 0xAA);
}

struct SpanTables {
  std::size_t blocks;
  const std::int32_t* windows;
  const std::uint8_t* masks;
  const std::int32_t* highs;
  const std::int32_t* lows;
  std::uint32_t factor;
};

// 24 destination bytes from one row; windows, masks, highs and lows point at
// the block's tables.
template <int kPairs>
[[gnu::always_inline]] GLYPHARY_AVX2 inline __m256i BlockBytes(
    const std::uint8_t* src, const std::int32_t* windows, const std::uint8_t* masks,
    const std::int32_t* highs, const std::int32_t* lows, __m256i factor) {
  __m256i high[3], low[3];
  for (int i = 0; i < 3; ++i) {
    high[i] = _mm256_setzero_si256();
    low[i] = _mm256_set1_epi32(131072);
  }
  for (int p = 0; p < kPairs; ++p)
    for (int i = 0; i < 3; ++i, masks += 32, highs += 8, lows += 8) {
      const __m256i window =
          _mm256_inserti128_si256(_mm256_castsi128_si256(Load16(src + windows[i] + 6 * p)),
                                  Load16(src + windows[3 + i] + 6 * p), 1);
      const __m256i taps = _mm256_shuffle_epi8(window, Load32(masks));
      high[i] = _mm256_add_epi32(high[i], _mm256_madd_epi16(taps, Load32(highs)));
      low[i] = _mm256_add_epi32(low[i], _mm256_madd_epi16(taps, Load32(lows)));
    }
  __m256i r[3];
  for (int i = 0; i < 3; ++i)
    r[i] = Normalise(_mm256_add_epi32(_mm256_slli_epi32(high[i], 15), low[i]), factor);
  return _mm256_packus_epi16(_mm256_packs_epi32(r[0], r[1]), _mm256_packs_epi32(r[2], r[2]));
}

// Bytes 0..11 of each half are the block's; exact stores write only those,
// the others run four bytes past the block.
GLYPHARY_AVX2 inline void StoreBlock(std::uint8_t* dst, __m256i bytes, bool exact) {
  const __m128i first = _mm256_castsi256_si128(bytes);
  const __m128i second = _mm256_extracti128_si256(bytes, 1);
  if (!exact) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), first);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 12), second);
    return;
  }
  _mm_storel_epi64(reinterpret_cast<__m128i*>(dst), first);
  const std::int32_t firstTail = _mm_cvtsi128_si32(_mm_srli_si128(first, 8));
  std::memcpy(dst + 8, &firstTail, 4);
  _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + 12), second);
  const std::int32_t secondTail = _mm_cvtsi128_si32(_mm_srli_si128(second, 8));
  std::memcpy(dst + 20, &secondTail, 4);
}

// Block by block over a few rows, so that each block's tables are read from
// the nearest cache for all of them. A block's loose bytes fall where the
// next block of the row writes later.
template <int kPairs>
GLYPHARY_AVX2 void ShrinkBlocks(const std::uint8_t* const* src, std::uint8_t* const* dst, int rows,
                                const SpanTables& plan) {
  const __m256i factor = _mm256_set1_epi32(std::int32_t(plan.factor));
  constexpr int kLanes = 3 * kPairs * 8;
  for (std::size_t b = 0; b < plan.blocks; ++b) {
    const std::int32_t* windows = plan.windows + kGroups * b;
    const std::uint8_t* masks = plan.masks + 4 * kLanes * b;
    const std::int32_t* highs = plan.highs + kLanes * b;
    const std::int32_t* lows = plan.lows + kLanes * b;
    const bool last = b + 1 == plan.blocks;
    for (int r = 0; r < rows; ++r)
      StoreBlock(dst[r] + 3 * kBlockPixels * b,
                 BlockBytes<kPairs>(src[r], windows, masks, highs, lows, factor), last);
  }
}

#endif

// The pixels after the last block, as the plain loop does them.
void ShrinkTail(const std::uint8_t* src, std::uint8_t* dst, const ShrinkTable& table, int from) {
  const int width = int(table.first.size());
  for (int j = from; j < width; ++j) {
    const std::uint8_t* s = src + 3 * std::size_t(table.first[j]);
    const std::uint32_t* w = &table.weights[std::size_t(j) * table.count];
    for (int k = 0; k < 3; ++k) {
      std::uint32_t sum = 131072;
      for (int t = 0; t < table.count; ++t) sum += s[3 * t + k] * w[t];
      const std::uint64_t value = (std::uint64_t(sum) * table.factor) >> 40;
      dst[3 * j + k] = std::uint8_t(std::min<std::uint64_t>(value, 255));
    }
  }
}

}  // namespace

template <Vectors kLevel>
std::optional<ShortSpanRows> ShortSpanRows::MakeFor([[maybe_unused]] const ShrinkTable& table,
                                                    [[maybe_unused]] int sourceWidth) {
#if GLYPHARY_X86_VECTORS
  if (kLevel < Vectors::kAvx2 || table.wideSums || table.count > 4) return std::nullopt;
  ShortSpanRows plan(table);
  if (kLevel == Vectors::kAvx512 && Plan512(table, sourceWidth, plan)) {
    plan.spans512 = true;
    return plan;
  }
  plan.pairs = (table.count + 1) / 2;
  const int width = int(table.first.size());
  // Room for every block up front: grown lane by lane, the tables were copied
  // again and again, and their cast-off buffers widened the heap each call takes.
  const std::size_t blocks = std::size_t(width / kBlockPixels);
  const std::size_t lanes = blocks * std::size_t(plan.pairs) * 3 * 8;
  plan.windows.reserve(kGroups * blocks);
  plan.masks.reserve(4 * lanes);
  plan.highs.reserve(lanes);
  plan.lows.reserve(lanes);
  for (plan.tailFrom = 0; plan.tailFrom + kBlockPixels <= width; plan.tailFrom += kBlockPixels) {
    const Block block = AddBlock(table, sourceWidth, plan.tailFrom, plan);
    if (block == Block::kSpansTooLong) return std::nullopt;
    if (block == Block::kLeavesRow) break;  // only near the end of the row
  }
  return plan;
#else
  return std::nullopt;  // no kernel: the callers take the plain loops
#endif
}

const LevelForms<ShortSpansPlanner> kShortSpanRowsForms = GLYPHARY_FORMS_OF(ShortSpanRows::MakeFor);

std::optional<ShortSpanRows> ShortSpanRows::Make(const ShrinkTable& table, int sourceWidth) {
  return Kernels().planShortSpans(table, sourceWidth);
}

void ShortSpanRows::Shrink(const std::uint8_t* const* src, std::uint8_t* const* dst,
                           int rows) const {
#if GLYPHARY_X86_VECTORS
  const SpanTables tables{blocks,       windows.data(), masks.data(),
                          highs.data(), lows.data(),    table_->factor};
#endif
  for (int top = 0; top < rows; top += kStrip) {
    const int strip = std::min(kStrip, rows - top);
#if GLYPHARY_X86_VECTORS
    if (spans512) {
      Shrink512(*this, src + top, dst + top, strip, table_->factor);
      continue;
    }
    if (pairs == 1)
      ShrinkBlocks<1>(src + top, dst + top, strip, tables);
    else
      ShrinkBlocks<2>(src + top, dst + top, strip, tables);
#endif
    for (int r = top; r < top + strip; ++r) ShrinkTail(src[r], dst[r], *table_, tailFrom);
  }
}

bool ShrinkShortSpansWide(const Bitmap& source, Bitmap& destination, const ShrinkTable& table) {
  const std::optional<ShortSpanRows> plan = ShortSpanRows::Make(table, source.Width());
  if (!plan) return false;
  for (int top = 0; top < source.Height(); top += ShortSpanRows::kStrip) {
    const int rows = std::min(ShortSpanRows::kStrip, source.Height() - top);
    const std::uint8_t* src[ShortSpanRows::kStrip];
    std::uint8_t* dst[ShortSpanRows::kStrip];
    for (int r = 0; r < rows; ++r) {
      src[r] = source.Row(top + r);
      dst[r] = destination.Row(top + r);
    }
    plan->Shrink(src, dst, rows);
  }
  return true;
}

}  // namespace glyphary
