// The vertical passes' kernels: 16 bytes of a row at a time where there are
// vectors, then byte by byte.
#include "resample/resample.h"
#include "resample/stretch_kernels.h"
#include "resample/stretch_simd.h"
#include "resample/vectors.h"

namespace glyphary {
namespace {

inline std::uint8_t ClampCubic(std::int32_t sum) {
  return std::uint8_t(sum < 0 ? 0 : sum > 255 * 1048576 ? 255 : sum >> 20);
}

inline std::uint8_t NormaliseOne(std::uint32_t sum, std::uint32_t factor) {
  const std::uint64_t value = (std::uint64_t(sum) * factor) >> 40;
  return std::uint8_t(value > 255 ? 255 : value);
}

#if GLYPHARY_X86_VECTORS
// The leading bytes of an area average that the vectors up to kLevel take:
// the whole row with 512 bits where that kernel applies, else whole blocks
// of 32 and 16. Returns where the plain loop goes on.
template <Vectors kLevel>
std::size_t AreaRowsInVectors(const std::uint8_t* const* rows, const std::uint32_t* weights,
                              int count, std::uint8_t* dst, std::size_t n, std::uint32_t factor) {
  if constexpr (kLevel == Vectors::kAvx512)
    if (AreaRows512(rows, weights, count, dst, n, factor)) return n;
  using namespace simd;
  auto splitAt = [&](int t) {
    const std::int32_t other = t + 1 < count ? std::int32_t(weights[t + 1]) : 0;
    return Split(std::int32_t(weights[t]), other);
  };
  std::int32_t highs[kMaxAreaTaps / 2], lows[kMaxAreaTaps / 2];
  const bool presplit = count <= kMaxAreaTaps;
  if (presplit)
    for (int t = 0; t < count; t += 2) {
      const SplitPair split = splitAt(t);
      highs[t / 2] = split.high;
      lows[t / 2] = split.low;
    }
  std::size_t x = 0;
  if constexpr (kLevel >= Vectors::kAvx2)
    if (presplit) x = AreaRowsWide({rows, count, highs, lows, factor}, dst, n);
  const __m128i factors = _mm_set1_epi32(std::int32_t(factor));
  for (; x + 16 <= n; x += 16) {
    const __m128i sums = AreaChunk(
        count, [&](int t) { return Load(rows[t] + x); },
        [&](int t) {
          return presplit ? SplitPair{highs[t / 2], lows[t / 2]} : splitAt(t);
        },
        factors);
    Store(dst + x, sums);
  }
  return x;
}
#endif

template <Vectors kLevel>
void CubicRowsAt(const std::uint8_t* const rows[4], std::uint8_t* dst, std::size_t n,
                 const CubicWeightSet& w) {
  std::size_t x = 0;
#if GLYPHARY_X86_VECTORS
  if constexpr (kLevel >= Vectors::kSse2) {
    using namespace simd;
    const SplitPair w01 = Split(w[0], w[1]), w23 = Split(w[2], w[3]);
    for (; x + 16 <= n; x += 16)
      Store(dst + x, CubicChunk(Load(rows[0] + x), Load(rows[1] + x), Load(rows[2] + x),
                                Load(rows[3] + x), w01, w23));
  }
#endif
  for (; x < n; ++x)
    dst[x] = ClampCubic(524288 + rows[0][x] * w[0] + rows[1][x] * w[1] + rows[2][x] * w[2] +
                        rows[3][x] * w[3]);
}

template <Vectors kLevel>
void AreaRowsAt(const std::uint8_t* const* rows, const std::uint32_t* weights, int count,
                std::uint8_t* dst, std::size_t n, std::uint32_t factor) {
  std::size_t x = 0;
#if GLYPHARY_X86_VECTORS
  if constexpr (kLevel >= Vectors::kSse2)
    x = AreaRowsInVectors<kLevel>(rows, weights, count, dst, n, factor);
#endif
  for (; x < n; ++x) {
    std::uint32_t sum = 131072;
    for (int t = 0; t < count; ++t) sum += rows[t][x] * weights[t];
    dst[x] = NormaliseOne(sum, factor);
  }
}

}  // namespace

const LevelForms<CubicRowsKernel> kCubicRowsForms = GLYPHARY_FORMS_OF(CubicRowsAt);
const LevelForms<AreaRowsKernel> kAreaRowsForms = GLYPHARY_FORMS_OF(AreaRowsAt);

}  // namespace glyphary
