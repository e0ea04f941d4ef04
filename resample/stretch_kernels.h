// Vectorised kernels of the passes. Every byte of a destination row is a
// weighted sum of the same byte in a few source rows, whatever channel it
// holds, so rows can be treated as plain byte runs; the horizontal
// enlargement turns blocks of rows so that columns can be treated the same way.
// The vector kernels exist where GLYPHARY_X86_VECTORS; each entry point here
// that is not marked wider than SSE2 also has its plain loop, the only one
// elsewhere.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

#include "resample/stretch.h"
#include "resample/vectors.h"

namespace glyphary {

// Calls kernel(std::integral_constant<int, n>{}) with n = count when count
// lies in First..Last, so that the common tap counts get unrolled loops;
// any other count gets n = 0, the kernel's form for every count.
template <int First, int Last, typename Kernel>
decltype(auto) WithTapCount(int count, Kernel&& kernel) {
  if constexpr (First > Last) {
    return kernel(std::integral_constant<int, 0>{});
  } else {
    if (count == First) return kernel(std::integral_constant<int, First>{});
    return WithTapCount<First + 1, Last>(count, kernel);
  }
}

// dst[x] = clamp((2^19 + sum of rows[i][x] * weights[i]) >> 20) over four rows.
inline void CubicRows(const std::uint8_t* const rows[4], std::uint8_t* dst, std::size_t n,
                      const CubicWeightSet& weights);

// dst[x] = ((2^17 + sum of rows[i][x] * weights[i]) * factor) >> 40 over count
// rows; the caller vouches that every sum fits 32 bits.
inline void AreaRows(const std::uint8_t* const* rows, const std::uint32_t* weights, int count,
                     std::uint8_t* dst, std::size_t n, std::uint32_t factor);

// One destination row at a time of a vertical area average: gathers the
// source rows that carry weight (rows of weight 0 only pad the table) and
// averages them with AreaRows. rowOf maps a source row number to its bytes.
class WeightedRows {
 public:
  explicit WeightedRows(const ShrinkTable& table)
      : table_(table), rows_(std::size_t(table.count)), weights_(std::size_t(table.count)) {}

  template <typename RowOf>
  void Average(int r, RowOf rowOf, std::uint8_t* dst, std::size_t n) {
    int used = 0;
    for (int t = 0; t < table_.count; ++t) {
      const std::uint32_t weight = table_.weights[std::size_t(r) * table_.count + t];
      if (weight == 0) continue;
      rows_[std::size_t(used)] = rowOf(table_.first[std::size_t(r)] + t);
      weights_[std::size_t(used++)] = weight;
    }
    AreaRows(rows_.data(), weights_.data(), used, dst, n, table_.factor);
  }

 private:
  const ShrinkTable& table_;
  std::vector<const std::uint8_t*> rows_;
  std::vector<std::uint32_t> weights_;
};

// Exact halving, where every output is (a + b) >> 1 of its two inputs.
// HalveRow makes one row of the given width from two rows of twice that (the
// same row twice halves the width alone); MeanOfRows averages two rows byte by
// byte.
inline void HalveRow(const std::uint8_t* top, const std::uint8_t* bottom, std::uint8_t* dst,
                     int width);
inline void MeanOfRows(const std::uint8_t* a, const std::uint8_t* b, std::uint8_t* dst,
                       std::size_t n);

// The same with 256-bit vectors, for the AVX2 level and above: each does what
// fits its blocks and returns where it stopped (an output pixel, a byte) for
// the SSE2 kernels to go on from.
int HalveRowWide(const std::uint8_t* top, const std::uint8_t* bottom, std::uint8_t* dst, int width);
std::size_t MeanOfRowsWide(const std::uint8_t* a, const std::uint8_t* b, std::uint8_t* dst,
                           std::size_t n);
// With 512-bit vectors, for the AVX-512 level: the whole row.
void HalveRow512(const std::uint8_t* top, const std::uint8_t* bottom, std::uint8_t* dst, int width);
void MeanOfRows512(const std::uint8_t* a, const std::uint8_t* b, std::uint8_t* dst, std::size_t n);

// Source rows of the one-sweep reductions as 24-bit bytes: a 24-bit bitmap's
// as they lie; a 32-bit bitmap's, or a producer's, made into a buffer of as
// many rows as one Get asks for, so that the whole 24-bit image never exists.
// Rows from one Get stay valid until the next.
class SourceRows {
 public:
  explicit SourceRows(const Bitmap& source);
  explicit SourceRows(const RowProducer& producer);
  ~SourceRows();
  SourceRows(const SourceRows&) = delete;
  SourceRows& operator=(const SourceRows&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Rows first … first + count − 1; `first` never goes back up the image.
  void Get(int first, int count, const std::uint8_t** rows);

 private:
  const Bitmap* asTheyLie_ = nullptr;
  std::unique_ptr<RowProducer> converter_;  // of a 32-bit bitmap
  const RowProducer* producer_ = nullptr;
  int width_, height_;
  std::size_t rowBytes_;
  std::vector<std::uint8_t> buffer_;
  int done_ = 0;  // rows above it are not asked for again
};

// Rows of a width pass by address: count source rows of sourceWidth pixels
// and as many destination rows, which may lie anywhere (a bitmap, a ring).
struct RowBatch {
  const std::uint8_t* const* in;
  std::uint8_t* const* out;
  int count;
  int sourceWidth;
};

// The addresses of every row of two bitmaps of one height.
class RowPointers {
 public:
  RowPointers(const Bitmap& source, Bitmap& destination);
  RowBatch Batch(int sourceWidth) const;

 private:
  std::vector<const std::uint8_t*> in_;
  std::vector<std::uint8_t*> out_;
};

// The horizontal enlargement over every whole block of 16 rows from the
// first; returns how many rows it did and leaves the rest.
inline int EnlargeRowsInBlocks(const RowBatch& batch, const EnlargeTable& table);

// The same for the area average; the table's sums must fit 32 bits.
inline int ShrinkRowsInBlocks(const RowBatch& batch, const ShrinkTable& table);

// One row at a time, any table: the plain forms of the two.
void EnlargeRow(const std::uint8_t* src, std::uint8_t* dst, const EnlargeTable& table);
void ShrinkRows(const RowBatch& batch, const ShrinkTable& table);

// ---- 256-bit versions of the area kernels, for the AVX2 level and above

// Area weights split for pmaddwd as in simd::Split: sources 2i and 2i + 1
// share highs[i] and lows[i] (a missing last source weighs 0).
inline constexpr int kMaxAreaTaps = 128;

// count rows (at most kMaxAreaTaps) summed 32 bytes at a time; returns how
// many leading bytes of dst it wrote, leaving fewer than 32.
struct AreaRowsJob {
  const std::uint8_t* const* rows;
  int count;
  const std::int32_t* highs;
  const std::int32_t* lows;
  std::uint32_t factor;
};
std::size_t AreaRowsWide(const AreaRowsJob& job, std::uint8_t* dst, std::size_t n);

// The width pass of an area average whose destination pixels each read at
// most four source pixels, every row straight from the source. Returns false,
// having done nothing, where it does not apply (or AVX2 is missing).
bool ShrinkShortSpansWide(const Bitmap& source, Bitmap& destination, const ShrinkTable& table);

// The same row by row: Make gives nothing where it does not apply, Shrink
// reduces rows source rows into as many destination rows. The table must
// outlive the object.
class ShortSpanRows {
 public:
  static constexpr int kStrip = 8;  // rows that share one read of the tables
  static std::optional<ShortSpanRows> Make(const ShrinkTable& table, int sourceWidth);
  // Make with the kernels of one level: nothing below AVX2.
  template <Vectors kLevel>
  static std::optional<ShortSpanRows> MakeFor(const ShrinkTable& table, int sourceWidth);
  void Shrink(const std::uint8_t* const* src, std::uint8_t* const* dst, int rows) const;

  // Per block of eight destination pixels: six window starts, then per pair
  // of taps three 32-byte shuffle masks and three times eight high and low
  // weights.
  int pairs = 0;
  std::size_t blocks = 0;
  int tailFrom = 0;  // the first pixel after the blocks
  std::vector<std::int32_t> windows;
  std::vector<std::uint8_t> masks;
  std::vector<std::int32_t> highs, lows;

  // With 512-bit vectors instead (spans512 true): per block of sixteen
  // destination pixels three windows of 64 bytes, each with its start, load
  // mask and 256 bytes of gather indices and weights (see
  // shrink_spans_avx512.cpp); the blocks cover the row, tailFrom is its width.
  bool spans512 = false;
  std::vector<std::int64_t> starts512;
  std::vector<std::uint64_t> loadMasks512;
  std::vector<std::uint8_t> tables512;

 private:
  explicit ShortSpanRows(const ShrinkTable& table) : table_(&table) {}
  const ShrinkTable* table_;
};

// For the AVX-512 level: fills the 512-bit tables of plan; false where a span leaves its window.
bool Plan512(const ShrinkTable& table, int sourceWidth, ShortSpanRows& plan);
// rows rows (at most ShortSpanRows::kStrip) through the 512-bit tables.
void Shrink512(const ShortSpanRows& plan, const std::uint8_t* const* src, std::uint8_t* const* dst,
               int rows, std::uint32_t factor);

// AreaRows for one to four rows with 512-bit vectors (the AVX-512 level);
// false, having done nothing, where it does not apply.
bool AreaRows512(const std::uint8_t* const* rows, const std::uint32_t* weights, int count,
                 std::uint8_t* dst, std::size_t n, std::uint32_t factor);

// One turned block of 32 rows (byte r of channel k of source column c at
// columns[96c + 32k + r]) reduced to results in the same layout; column c of
// the result reads count columns from first[c], with pairs (count + 1) / 2 of
// highs and lows each.
struct AreaColumnsJob {
  const std::int32_t* first;
  std::size_t width;
  int count;
  const std::int32_t* highs;
  const std::int32_t* lows;
  std::uint32_t factor;
};
void AreaColumnsWide(const std::uint8_t* columns, std::uint8_t* results, const AreaColumnsJob& job);

// The width pass of a resize over batches of rows, its tables made once.
// Same width copies, exact halving, enlargement and area average alike.
class WidthPass {
 public:
  WidthPass(int sourceWidth, int width);
  WidthPass(const WidthPass&) = delete;  // spans_ points into shrink_
  WidthPass& operator=(const WidthPass&) = delete;
  void Run(const RowBatch& batch) const;

 private:
  int sourceWidth_, width_;
  EnlargeTable enlarge_;
  ShrinkTable shrink_;
  std::optional<ShortSpanRows> spans_;
};

// ---- the kernels of the vector level in force

// Each kernel with vector forms, in one form per level, indexed by Vectors:
// the widest vectors up to that level take what fits them, narrower ones and
// the plain loop the rest.
template <typename Kernel>
using LevelForms = std::array<Kernel, 4>;
#define GLYPHARY_FORMS_OF(kernel)                                             \
  {                                                                           \
    kernel<Vectors::kScalar>, kernel<Vectors::kSse2>, kernel<Vectors::kAvx2>, \
        kernel<Vectors::kAvx512>                                              \
  }

using HalveRowKernel = void (*)(const std::uint8_t*, const std::uint8_t*, std::uint8_t*, int);
using MeanOfRowsKernel = void (*)(const std::uint8_t*, const std::uint8_t*, std::uint8_t*,
                                  std::size_t);
using CubicRowsKernel = void (*)(const std::uint8_t* const[4], std::uint8_t*, std::size_t,
                                 const CubicWeightSet&);
using AreaRowsKernel = void (*)(const std::uint8_t* const*, const std::uint32_t*, int,
                                std::uint8_t*, std::size_t, std::uint32_t);
template <typename Table>
using RowBlocksKernel = int (*)(const RowBatch&, const Table&);
using DropFourthBytesKernel = void (*)(const std::uint8_t*, std::uint8_t*, int);
using ShortSpansPlanner = std::optional<ShortSpanRows> (*)(const ShrinkTable&, int);

extern const LevelForms<HalveRowKernel> kHalveRowForms;
extern const LevelForms<MeanOfRowsKernel> kMeanOfRowsForms;
extern const LevelForms<CubicRowsKernel> kCubicRowsForms;
extern const LevelForms<AreaRowsKernel> kAreaRowsForms;
extern const LevelForms<RowBlocksKernel<EnlargeTable>> kEnlargeRowsInBlocksForms;
extern const LevelForms<RowBlocksKernel<ShrinkTable>> kShrinkRowsInBlocksForms;
extern const LevelForms<DropFourthBytesKernel> kDropFourthBytesForms;
extern const LevelForms<ShortSpansPlanner> kShortSpanRowsForms;

// Every kernel in the form of one level, chosen once as pixman and Skia
// choose theirs, so that no call asks which vectors it may use.
struct KernelTable {
  HalveRowKernel halveRow;
  MeanOfRowsKernel meanOfRows;
  CubicRowsKernel cubicRows;
  AreaRowsKernel areaRows;
  RowBlocksKernel<EnlargeTable> enlargeRowsInBlocks;
  RowBlocksKernel<ShrinkTable> shrinkRowsInBlocks;
  DropFourthBytesKernel dropFourthBytes;
  ShortSpansPlanner planShortSpans;
};

// The table of the level in force (ActiveVectors), chosen as the program
// starts and again when a test lowers the level, between renders.
namespace kernels_chosen {
extern KernelTable table;
}
inline const KernelTable& Kernels() {
  return kernels_chosen::table;
}

// The kernels declared above, through the table.
inline void HalveRow(const std::uint8_t* top, const std::uint8_t* bottom, std::uint8_t* dst,
                     int width) {
  Kernels().halveRow(top, bottom, dst, width);
}
inline void MeanOfRows(const std::uint8_t* a, const std::uint8_t* b, std::uint8_t* dst,
                       std::size_t n) {
  Kernels().meanOfRows(a, b, dst, n);
}
inline void CubicRows(const std::uint8_t* const rows[4], std::uint8_t* dst, std::size_t n,
                      const CubicWeightSet& weights) {
  Kernels().cubicRows(rows, dst, n, weights);
}
inline void AreaRows(const std::uint8_t* const* rows, const std::uint32_t* weights, int count,
                     std::uint8_t* dst, std::size_t n, std::uint32_t factor) {
  Kernels().areaRows(rows, weights, count, dst, n, factor);
}
inline int EnlargeRowsInBlocks(const RowBatch& batch, const EnlargeTable& table) {
  return Kernels().enlargeRowsInBlocks(batch, table);
}
inline int ShrinkRowsInBlocks(const RowBatch& batch, const ShrinkTable& table) {
  return Kernels().shrinkRowsInBlocks(batch, table);
}

}  // namespace glyphary
