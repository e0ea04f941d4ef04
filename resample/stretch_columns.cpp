// The horizontal enlargement, sixteen rows at a time: the block is turned so
// that each byte column becomes one 16-byte vector (one byte per row), the
// cubic kernel combines whole vectors exactly as the vertical pass combines
// rows, and the result is turned back; the area average likewise. Without
// vectors there are no blocks: the callers take every row one at a time.
#include <cstring>
#include <vector>

#include "resample/resample.h"
#include "resample/stretch_kernels.h"
#include "resample/stretch_simd.h"
#include "resample/vectors.h"

namespace glyphary {

#if GLYPHARY_X86_VECTORS
namespace {

using simd::Load;
using simd::Store;

// m[r] holds row r of a 16 x 16 byte tile; afterwards m[c] holds column c.
void Transpose(__m128i (&m)[16]) {
  __m128i t[16];
  for (int i = 0; i < 8; ++i) {
    t[2 * i] = _mm_unpacklo_epi8(m[2 * i], m[2 * i + 1]);
    t[2 * i + 1] = _mm_unpackhi_epi8(m[2 * i], m[2 * i + 1]);
  }
  // t[2p + h]: rows 2p, 2p + 1, columns 8h .. 8h + 7.
  for (int g = 0; g < 4; ++g)
    for (int h = 0; h < 2; ++h) {
      const __m128i a = t[4 * g + h], b = t[4 * g + 2 + h];
      m[4 * g + 2 * h] = _mm_unpacklo_epi16(a, b);
      m[4 * g + 2 * h + 1] = _mm_unpackhi_epi16(a, b);
    }
  // m[4g + q]: rows 4g .. 4g + 3, columns 4q .. 4q + 3.
  for (int p = 0; p < 2; ++p)
    for (int q = 0; q < 4; ++q) {
      const __m128i a = m[8 * p + q], b = m[8 * p + 4 + q];
      t[8 * p + 2 * q] = _mm_unpacklo_epi32(a, b);
      t[8 * p + 2 * q + 1] = _mm_unpackhi_epi32(a, b);
    }
  // t[8p + s]: rows 8p .. 8p + 7, columns 2s, 2s + 1.
  for (int s = 0; s < 8; ++s) {
    m[2 * s] = _mm_unpacklo_epi64(t[s], t[8 + s]);
    m[2 * s + 1] = _mm_unpackhi_epi64(t[s], t[8 + s]);
  }
}

// columns[stride * c + r] = rows[r][c] for the bytes 0 .. n - 1 of 16 rows.
void TurnIn(const std::uint8_t* const* rows, std::size_t n, std::uint8_t* columns,
            std::size_t stride) {
  __m128i m[16];
  std::size_t c = 0;
  for (; c + 16 <= n; c += 16, columns += 16 * stride) {
    for (int r = 0; r < 16; ++r) m[r] = Load(rows[r] + c);
    Transpose(m);
    for (int i = 0; i < 16; ++i) Store(columns + stride * i, m[i]);
  }
  if (c == n) return;
  std::uint8_t tail[16][16] = {};
  for (int r = 0; r < 16; ++r) std::memcpy(tail[r], rows[r] + c, n - c);
  for (int r = 0; r < 16; ++r) m[r] = Load(tail[r]);
  Transpose(m);
  for (int i = 0; i < 16; ++i) Store(columns + stride * i, m[i]);
}

// The way back: rows[r][c] = columns[stride * c + r], writing only bytes
// 0 .. n - 1.
void TurnOut(const std::uint8_t* columns, std::size_t n, std::uint8_t* const* rows,
             std::size_t stride) {
  __m128i m[16];
  std::size_t c = 0;
  for (; c + 16 <= n; c += 16, columns += 16 * stride) {
    for (int i = 0; i < 16; ++i) m[i] = Load(columns + stride * i);
    Transpose(m);
    for (int r = 0; r < 16; ++r) Store(rows[r] + c, m[r]);
  }
  if (c == n) return;
  for (int i = 0; i < 16; ++i) m[i] = Load(columns + stride * i);
  Transpose(m);
  std::uint8_t tail[16];
  for (int r = 0; r < 16; ++r) {
    Store(tail, m[r]);
    std::memcpy(rows[r] + c, tail, n - c);
  }
}

std::size_t Padded(std::size_t n) {
  return (n + 15) / 16 * 16;
}

// Runs columnKernel(columns, results) over every whole block of kRows rows
// from top on and returns the row after the last block. Byte r of column c
// of a block sits at columns[kRows * c + r].
template <int kRows, typename ColumnKernel>
int InBlocks(const RowBatch& batch, std::size_t outBytes, int top, ColumnKernel columnKernel) {
  const std::size_t inBytes = std::size_t(batch.sourceWidth) * 3;
  std::vector<std::uint8_t> columns(Padded(inBytes) * kRows), results(Padded(outBytes) * kRows);
  for (; top + kRows <= batch.count; top += kRows) {
    for (int r = 0; r < kRows; r += 16)
      TurnIn(batch.in + top + r, inBytes, columns.data() + r, kRows);
    columnKernel(columns.data(), results.data());
    for (int r = 0; r < kRows; r += 16)
      TurnOut(results.data() + r, outBytes, batch.out + top + r, kRows);
  }
  return top;
}

// One output column of the area average per channel, count taps from first.
template <int kCount>
void AreaColumns(const std::uint8_t* columns, std::uint8_t* results, const AreaColumnsJob& job) {
  using namespace simd;
  const int count = kCount > 0 ? kCount : job.count;
  const int pairs = (count + 1) / 2;
  const __m128i factor = _mm_set1_epi32(std::int32_t(job.factor));
  const std::int32_t* highs = job.highs;
  const std::int32_t* lows = job.lows;
  for (std::size_t c = 0; c < job.width; ++c, highs += pairs, lows += pairs) {
    const std::uint8_t* base = columns + 48 * std::size_t(job.first[c]);
    for (int k = 0; k < 3; ++k, results += 16) {
      const std::uint8_t* channel = base + 16 * k;
      Store(results, AreaChunk(
                         count, [&](int t) { return Load(channel + 48 * t); },
                         [&](int t) {
                           return SplitPair{highs[t / 2], lows[t / 2]};
                         },
                         factor));
    }
  }
}

template <Vectors kLevel>
int ShrinkRowsInBlocksAt(const RowBatch& batch, const ShrinkTable& table) {
  if constexpr (kLevel == Vectors::kScalar) return 0;
  const int count = table.count, pairs = (count + 1) / 2;
  const std::size_t width = table.first.size();
  std::vector<std::int32_t> highs(width * pairs), lows(width * pairs);
  for (std::size_t c = 0; c < width; ++c) {
    const std::uint32_t* w = &table.weights[c * count];
    for (int t = 0; t < count; t += 2) {
      const simd::SplitPair split =
          simd::Split(std::int32_t(w[t]), t + 1 < count ? std::int32_t(w[t + 1]) : 0);
      highs[c * pairs + t / 2] = split.high;
      lows[c * pairs + t / 2] = split.low;
    }
  }
  const AreaColumnsJob job{table.first.data(), width,       count,
                           highs.data(),       lows.data(), table.factor};
  int top = 0;
  if (kLevel >= Vectors::kAvx2 && count <= kMaxAreaTaps)
    top = InBlocks<32>(batch, 3 * width, top, [&](const std::uint8_t* in, std::uint8_t* out) {
      AreaColumnsWide(in, out, job);
    });
  return InBlocks<16>(batch, 3 * width, top, [&](const std::uint8_t* in, std::uint8_t* out) {
    WithTapCount<2, 5>(count, [&](auto taps) { AreaColumns<decltype(taps)::value>(in, out, job); });
  });
}

template <Vectors kLevel>
int EnlargeRowsInBlocksAt(const RowBatch& batch, const EnlargeTable& table) {
  if constexpr (kLevel == Vectors::kScalar) return 0;
  using namespace simd;
  const std::size_t width = table.taps.size();
  auto kernel = [&](const std::uint8_t* columns, std::uint8_t* results) {
    for (std::size_t c = 0; c < width; ++c) {
      const std::array<std::int32_t, 4>& tap = table.taps[c];
      const CubicWeightSet& w = table.weights[c];
      const SplitPair w01 = Split(w[0], w[1]), w23 = Split(w[2], w[3]);
      for (int k = 0; k < 3; ++k, results += 16) {
        const std::uint8_t* channel = columns + 16 * k;
        Store(results, CubicChunk(Load(channel + 48 * std::size_t(tap[0])),
                                  Load(channel + 48 * std::size_t(tap[1])),
                                  Load(channel + 48 * std::size_t(tap[2])),
                                  Load(channel + 48 * std::size_t(tap[3])), w01, w23));
      }
    }
  };
  return InBlocks<16>(batch, 3 * width, 0, kernel);
}

}  // namespace
#else
namespace {

template <Vectors>
int ShrinkRowsInBlocksAt(const RowBatch&, const ShrinkTable&) {
  return 0;
}

template <Vectors>
int EnlargeRowsInBlocksAt(const RowBatch&, const EnlargeTable&) {
  return 0;
}

}  // namespace
#endif

const LevelForms<RowBlocksKernel<ShrinkTable>> kShrinkRowsInBlocksForms =
    GLYPHARY_FORMS_OF(ShrinkRowsInBlocksAt);
const LevelForms<RowBlocksKernel<EnlargeTable>> kEnlargeRowsInBlocksForms =
    GLYPHARY_FORMS_OF(EnlargeRowsInBlocksAt);

RowPointers::RowPointers(const Bitmap& source, Bitmap& destination)
    : in_(std::size_t(source.Height())), out_(std::size_t(source.Height())) {
  for (int r = 0; r < source.Height(); ++r) {
    in_[std::size_t(r)] = source.Row(r);
    out_[std::size_t(r)] = destination.Row(r);
  }
}

RowBatch RowPointers::Batch(int sourceWidth) const {
  return {in_.data(), out_.data(), int(in_.size()), sourceWidth};
}

}  // namespace glyphary
