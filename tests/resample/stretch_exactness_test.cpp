// Every fast path of the resampler, at every level of vector kernels down to
// the plain loops, against a plain, slow rendering of the same arithmetic:
// per-pixel loops, clamped taps, boundaries worked out in place.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "resample/resample.h"
#include "resample/stretch.h"

namespace glyphary {
namespace {

using Taps = CubicWeightSet;

Taps ReferenceCubic(long double x, std::int32_t scale) {
  const long double s = scale, sixth = 1.0L / 6.0L;
  const long double v[4] = {
      ((x - 1) * (x - 2)) * (x - 3) * -sixth * s, ((x - 0) * (x - 2)) * (x - 3) * 0.5L * s,
      ((x - 0) * (x - 1)) * (x - 3) * -0.5L * s, ((x - 0) * (x - 1)) * (x - 2) * sixth * s};
  Taps w;
  for (int i = 0; i < 4; ++i) w[i] = std::int32_t(std::trunc(v[i] + 0.5L));
  return w;
}

std::uint8_t& At(Bitmap& b, int row, int column, int channel) {
  return b.Row(row)[3 * column + channel];
}

// Enlarges along columns (horizontal) or rows; `get` and `put` hide which.
template <typename Get, typename Put>
void ReferenceEnlarge(int from, int to, int lines, Get get, Put put) {
  for (int c = 0; c < to; ++c) {
    const long double m =
        static_cast<long double>(std::int64_t(from - 1) * c) / static_cast<long double>(to - 1);
    const int t = int(std::trunc(m)) - 1;
    const Taps w = ReferenceCubic((m - std::trunc(m)) + 1, 1048576);
    for (int line = 0; line < lines; ++line) {
      for (int k = 0; k < 3; ++k) {
        std::int32_t acc = 524288;
        for (int i = 0; i < 4; ++i) acc += get(line, std::clamp(t + i, 0, from - 1), k) * w[i];
        put(line, c, k, acc < 0 ? 0 : acc > 267386880 ? 255 : acc >> 20);
      }
    }
  }
}

template <typename Get, typename Put>
void ReferenceShrink(int from, int to, int lines, Get get, Put put) {
  const auto f = std::uint32_t(std::trunc(
      (1 / (static_cast<long double>(from) / static_cast<long double>(to))) * 4194304 + 0.5L));
  for (int line = 0; line < lines; ++line) {
    int a = 0;
    std::uint32_t carry = 0;
    for (int j = 0; j < to; ++j) {
      const long double p = static_cast<long double>(std::int64_t(from) * (j + 1)) / to;
      const std::uint32_t lead = 262144 - carry;
      const int e = int(std::trunc(p));
      carry = std::uint32_t(std::trunc((p - std::trunc(p)) * 262144 + 0.5L));
      for (int k = 0; k < 3; ++k) {
        std::uint64_t sum = 131072;  // wide: also right beyond 64:1
        if (lead != 0) sum += get(line, a, k) * std::uint64_t(lead);
        for (int i = a + 1; i < e; ++i) sum += get(line, i, k) * std::uint64_t(262144);
        if (carry != 0) sum += get(line, e, k) * std::uint64_t(carry);
        put(line, j, k, int(std::min<std::uint64_t>(255, (sum * f) >> 40)));
      }
      a = e;
    }
  }
}

Bitmap ReferenceStretch(Bitmap b, int width, int height) {
  b.SetBitsPerPixel(24);
  if (width != b.Width()) {
    Bitmap d(width, b.Height(), 24);
    auto get = [&](int row, int col, int k) { return At(b, row, col, k); };
    auto put = [&](int row, int col, int k, int v) { At(d, row, col, k) = std::uint8_t(v); };
    if (width > b.Width())
      ReferenceEnlarge(b.Width(), width, b.Height(), get, put);
    else
      ReferenceShrink(b.Width(), width, b.Height(), get, put);
    b = std::move(d);
  }
  if (height != b.Height()) {
    Bitmap d(b.Width(), height, 24);
    auto get = [&](int col, int row, int k) { return At(b, row, col, k); };
    auto put = [&](int col, int row, int k, int v) { At(d, row, col, k) = std::uint8_t(v); };
    if (height > b.Height())
      ReferenceEnlarge(b.Height(), height, b.Width(), get, put);
    else
      ReferenceShrink(b.Height(), height, b.Width(), get, put);
    b = std::move(d);
  }
  return b;
}

Bitmap RandomImage(int width, int height, int bpp, std::mt19937& random) {
  Bitmap b(width, height, bpp);
  std::uniform_int_distribution<int> level(0, 255);
  // Mostly noise; some rows flat or extreme so clamps and plateaus are hit.
  for (int y = 0; y < height; ++y) {
    const int kind = level(random) % 4;
    for (int i = 0; i < width * bpp / 8; ++i)
      b.Row(y)[i] = std::uint8_t(kind == 0 ? (level(random) < 128 ? 0 : 255) : level(random));
  }
  return b;
}

void Silent(std::int32_t) {}

bool SameImage(const Bitmap& a, const Bitmap& b, std::string& where) {
  if (a.Width() != b.Width() || a.Height() != b.Height() || a.BitsPerPixel() != b.BitsPerPixel()) {
    where = "size or format differs";
    return false;
  }
  for (int y = 0; y < a.Height(); ++y)
    if (!std::equal(a.Row(y), a.Row(y) + 3 * a.Width(), b.Row(y))) {
      where = "row " + std::to_string(y);
      return false;
    }
  return true;
}

const char* NameOf(Vectors level) {
  switch (level) {
    case Vectors::kScalar:
      return "plain loops";
    case Vectors::kSse2:
      return "SSE2";
    case Vectors::kAvx2:
      return "AVX2";
    case Vectors::kAvx512:
      return "AVX-512";
  }
  return "?";
}

// Every level of kernels that may run here, from the widest down to the plain
// loops (only those where GLYPHARY_VECTORS lowers the processor's level).
std::vector<Vectors> Levels() {
  std::vector<Vectors> levels;
  for (Vectors level : {Vectors::kAvx512, Vectors::kAvx2, Vectors::kSse2, Vectors::kScalar})
    if (level <= ActiveVectors()) levels.push_back(level);
  return levels;
}

void ExpectMatchesReference(int w, int h, int toW, int toH, std::mt19937& random) {
  const std::string name = std::to_string(w) + "x" + std::to_string(h) + " to " +
                           std::to_string(toW) + "x" + std::to_string(toH);
  const Bitmap source = RandomImage(w, h, random() % 3 == 0 ? 32 : 24, random);
  const Bitmap expected = ReferenceStretch(source, toW, toH);
  std::string where;
  for (Vectors level : Levels()) {
    stretch_testing::LimitVectors(level);
    Bitmap fast = source;
    StretchBitmap(fast, toW, toH);
    EXPECT_TRUE(SameImage(fast, expected, where))
        << name << " with " << NameOf(level) << ": " << where;
  }
  stretch_testing::LimitVectors(Vectors::kAvx512);
  // A listener takes the pass-by-pass route.
  Bitmap passes = source;
  StretchBitmap(passes, toW, toH, Silent);
  EXPECT_TRUE(SameImage(passes, expected, where)) << name << " with progress: " << where;
}

TEST(StretchExactness, CubicWeightsFollowTheFormulaEverywhere) {
  for (int i = 0; i < 4096; ++i) {
    const long double x = 1 + i / 4096.0L;
    ASSERT_EQ(CubicWeights(x, 1048576), ReferenceCubic(x, 1048576)) << double(x);
  }
}

TEST(StretchExactness, ChosenSizesAndRatios) {
  std::mt19937 random(7);
  using Cases = std::initializer_list<std::array<int, 4>>;
  auto check = [&](Cases cases) {
    for (const auto& c : cases) ExpectMatchesReference(c[0], c[1], c[2], c[3], random);
  };
  // Exact halving, fused into one sweep without a listener.
  check({{2, 2, 1, 1}, {6, 4, 3, 2}, {34, 18, 17, 9}, {66, 2, 33, 1}, {2, 66, 1, 33}});
  // Odd sizes halved: a sliver of the last pixel spreads over the row.
  check({{41, 7, 20, 3}, {4001, 3, 2000, 1}, {3, 601, 1, 300}, {5, 5, 2, 2}});
  // Exact halving one way only.
  check({{34, 17, 17, 8}, {41, 18, 20, 9}, {2, 5, 1, 2}, {7, 2, 3, 1}, {1, 40, 1, 20}});
  // Single rows, columns and pixels.
  check({{1, 9, 1, 4}, {9, 1, 4, 1}, {1, 1, 5, 3}, {1, 7, 6, 1}, {7, 1, 1, 6}, {2, 2, 1, 9}});
  // Up to 64:1 and beyond, where 32-bit sums would wrap.
  check({{128, 3, 2, 1},
         {200, 3, 2, 1},
         {70, 70, 1, 1},
         {3, 130, 2, 1},
         {1000, 2, 7, 1},
         {5, 700, 3, 3}});
  // Blocks of 16 and 32 rows and what is left below them; spans of two to
  // five source pixels, at ratios just above 2, 3 and 4.
  check({{4001, 35, 2000, 17},
         {301, 97, 100, 48},
         {401, 66, 100, 16},
         {37, 301, 12, 100},
         {1000, 33, 370, 12},
         {97, 64, 31, 21}});
  // Both ways at once through a ring of rows that wraps many times; spans
  // of one or two pixels; many source rows per output row.
  check({{50, 400, 20, 150}, {300, 200, 299, 7}, {41, 999, 17, 500}, {301, 5, 150, 4}});
  // Long rows: boundary positions far from zero, many blocks, a ragged end.
  check({{65521, 2, 24001, 1}, {3, 40009, 1, 14999}});
  // Beyond 64:1 in blocks of rows.
  check({{700, 40, 10, 1}, {40, 700, 1, 10}});
  // Enlarging one way and shrinking the other.
  check({{5, 40, 13, 3}, {40, 5, 3, 13}, {17, 17, 50, 9}, {4, 31, 2, 100}});
  // Wider and lower, where even a listener gets the one sweep (the image
  // between the passes would outgrow both ends): rows kept in the ring, rows
  // halved, rows summed as they come, beyond 64:1 too.
  check({{7, 100, 30, 33}, {5, 90, 40, 45}, {2, 200, 150, 3}, {1, 300, 300, 1}, {3, 2000, 50, 7}});
  // Enlarging both ways and the fused reductions' leftovers, through many strips.
  check(
      {{5, 5, 40, 30}, {17, 9, 100, 50}, {30, 100, 47, 333}, {100, 400, 50, 5}, {90, 300, 31, 4}});
  // Rows so wide that fewer of them make a strip: blocks and single rows mixed.
  check({{3, 40, 50000, 7}, {2, 45, 60000, 3}});
}

// Exact halving at every width across the blocks of the vector kernels (16
// output pixels at 256 bits, 11 at 512, 8 at 128) and the ragged ends after
// them: both ways, the width alone (one row averaged with itself) and the
// height alone (two rows averaged byte by byte).
TEST(StretchExactness, HalvingAtEveryWidthAcrossTheBlocks) {
  std::mt19937 random(23);
  for (int w = 1; w <= 72; ++w) {
    ExpectMatchesReference(2 * w, 4, w, 2, random);
    ExpectMatchesReference(2 * w, 3, w, 3, random);
    ExpectMatchesReference(w, 4, w, 2, random);
  }
  ExpectMatchesReference(2002, 2, 1001, 1, random);
  ExpectMatchesReference(2002, 3, 1001, 3, random);
  ExpectMatchesReference(1001, 2, 1001, 1, random);
}

// Sizes drawn one by one, so that every compiler makes the same cases: the
// order in which a call's arguments are worked out is theirs to choose.
void ExpectRandomCaseMatchesReference(std::uniform_int_distribution<int>& size,
                                      std::uniform_int_distribution<int>& target,
                                      std::mt19937& random) {
  const int toH = target(random), toW = target(random);
  const int h = size(random), w = size(random);
  ExpectMatchesReference(w, h, toW, toH, random);
}

TEST(StretchExactness, RandomSizesAndRatios) {
  std::mt19937 random(19);
  std::uniform_int_distribution<int> size(1, 48), target(1, 70);
  for (int i = 0; i < 150; ++i) ExpectRandomCaseMatchesReference(size, target, random);
}

// Sizes of several hundred: many blocks of 16 and 32 rows and vector blocks
// along every row before the ragged ends, with every kernel in play.
TEST(StretchExactness, RandomLargerSizesAndRatios) {
  std::mt19937 random(41);
  std::uniform_int_distribution<int> size(40, 700), target(1, 900);
  for (int i = 0; i < 16; ++i) ExpectRandomCaseMatchesReference(size, target, random);
}

}  // namespace
}  // namespace glyphary
