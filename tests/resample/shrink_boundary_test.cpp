// The area average's boundaries from integers against the long double
// arithmetic they replaced, which must give the same bytes everywhere the
// integers are used. Set GLYPHARY_BOUNDARY_SIZES=2000 to sweep every size
// up to 2000 (half a minute) instead of the default.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <utility>

#include "resample/stretch.h"

namespace glyphary {
namespace {

ShrinkBoundary LongDoubleBoundary(int sourceSize, int destinationSize, int index) {
  const long double p = static_cast<long double>(std::int64_t(sourceSize) * index) /
                        static_cast<long double>(destinationSize);
  const long double whole = std::trunc(p);
  return {std::int32_t(whole), std::uint32_t(std::trunc((p - whole) * 262144.0L + 0.5L))};
}

bool Same(ShrinkBoundary a, ShrinkBoundary b) {
  return a.whole == b.whole && a.part == b.part;
}

// Every boundary of a reduction; false at the first that differs.
bool EveryBoundaryAgrees(int sourceSize, int destinationSize) {
  for (int j = 0; j <= destinationSize; ++j)
    if (!Same(ShrinkBoundaryAt(sourceSize, destinationSize, j),
              LongDoubleBoundary(sourceSize, destinationSize, j))) {
      ADD_FAILURE() << sourceSize << " to " << destinationSize << ", boundary " << j;
      return false;
    }
  return true;
}

TEST(ShrinkBoundary, EverySizeUpToSeveralHundredToEverySmaller) {
  const char* sizes = std::getenv("GLYPHARY_BOUNDARY_SIZES");
  const int largest = sizes != nullptr ? std::atoi(sizes) : 500;
  for (int from = 1; from <= largest; ++from)
    for (int to = 1; to <= from; ++to) ASSERT_TRUE(EveryBoundaryAgrees(from, to));
}

// Where the long double quotient is coarsest: just below 2^44 for S·D; the
// working image's largest side; and destinations of 2^19 and 2^20 pixels,
// whose parts fall exactly on halves.
TEST(ShrinkBoundary, LargeSizesUpToWhereTheIntegersStop) {
  const std::pair<int, int> sizes[] = {{4194303, 4194301}, {4194303, 2097153},  {3145735, 1234567},
                                       {1048576, 524288},  {1048575, 524287},   {1048573, 999983},
                                       {2000003, 7},       {16777213, 1048573}, {1048575, 524288},
                                       {4194303, 1048576}};
  for (const auto& [from, to] : sizes) {
    ASSERT_LT(std::int64_t(from) * to, std::int64_t(1) << 44);
    EXPECT_TRUE(EveryBoundaryAgrees(from, to));
  }
}

}  // namespace
}  // namespace glyphary
