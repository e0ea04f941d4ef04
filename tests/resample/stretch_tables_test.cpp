// The resampler's tables are worked out in long double: 80-bit x87 on x86, a
// wider or narrower format elsewhere. The pixels follow the tables, so these
// pin what x86 makes of a broad set of sizes for every other architecture.
// Exact halves can still round apart (a shrink factor whose source side is a
// multiple of 2^23, say); none lies among these sizes.
#include <gtest/gtest.h>

#include <cstdint>

#include "resample/stretch.h"

namespace glyphary {
namespace {

class Fingerprint {
 public:
  void Add(std::uint64_t value) {
    for (int i = 0; i < 8; ++i) hash_ = (hash_ ^ ((value >> (8 * i)) & 0xFF)) * 1099511628211u;
  }
  std::uint64_t Value() const { return hash_; }

 private:
  std::uint64_t hash_ = 14695981039346656037u;
};

TEST(StretchTables, ShrinkFactorsAreThoseOfX86) {
  Fingerprint print;
  for (int from = 2; from <= 300; ++from)
    for (int to = 1; to < from; ++to) print.Add(MakeShrinkTable(from, to).factor);
  EXPECT_EQ(print.Value(), 0x356cd36cbada2361u);
}

TEST(StretchTables, CubicWeightsAreThoseOfX86) {
  Fingerprint print;
  for (int i = 0; i <= 1 << 16; ++i)
    for (std::int32_t w : CubicWeights(1 + i / 65536.0L, 1048576)) print.Add(std::uint32_t(w));
  EXPECT_EQ(print.Value(), 0x63e979b27739c7d1u);
}

TEST(StretchTables, EnlargementTablesAreThoseOfX86) {
  Fingerprint print;
  for (int from = 1; from <= 48; ++from)
    for (int to = from + 1; to <= 1000; to += 29) {
      const EnlargeTable table = MakeEnlargeTable(from, to);
      for (std::size_t c = 0; c < table.taps.size(); ++c)
        for (int k = 0; k < 4; ++k) {
          print.Add(std::uint32_t(table.taps[c][k]));
          print.Add(std::uint32_t(table.weights[c][k]));
        }
    }
  EXPECT_EQ(print.Value(), 0x9d916678ff82d41du);
}

// Past S·D = 2^44 the boundaries come from long double, not from integers.
TEST(StretchTables, BoundariesOfHugeReductionsAreThoseOfX86) {
  Fingerprint print;
  for (int from : {2147483647, 2000000011, 1073741827, 987654323, 536870909})
    for (int to : {1048583, 2097143, 16777259, 33554393}) {
      if (to >= from) continue;
      for (int j = 0; j <= to; j += to / 997) {
        const ShrinkBoundary b = ShrinkBoundaryAt(from, to, j);
        print.Add(std::uint32_t(b.whole));
        print.Add(b.part);
      }
    }
  EXPECT_EQ(print.Value(), 0x902b7372f5eaf929u);
}

}  // namespace
}  // namespace glyphary
