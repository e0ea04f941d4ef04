// Halving an image given row by row: the bytes StretchBitmap makes of the
// image made whole, whichever kernel the sizes and the processor pick.
#include <gtest/gtest.h>

#include <cstring>
#include <numeric>
#include <vector>

#include "resample/noise_rows.h"
#include "resample/resample.h"
#include "resample/stretch.h"

namespace glyphary {
namespace {

bool SameImage(const Bitmap& a, const Bitmap& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() &&
         a.BitsPerPixel() == b.BitsPerPixel() && a.ImageSize() == b.ImageSize() &&
         std::memcmp(a.Bits(), b.Bits(), a.ImageSize()) == 0;
}

// Exact halving both ways, an odd side that takes the area average, both
// odd; narrow and wide enough for every vector block and its tail.
const int kSides[] = {2, 3, 4, 5, 17, 64, 65, 203, 1117};

void ExpectHalvesLikeStretchBitmap(int width, int height) {
  const NoiseRows rows(width, height);
  Bitmap whole = rows.Whole();
  StretchBitmap(whole, width / 2, height / 2);
  const Bitmap half = HalveRows(rows);
  EXPECT_TRUE(SameImage(half, whole)) << width << " x " << height;
  // Each row made once, from the top: no more work than making the image.
  std::vector<int> inOrder(static_cast<std::size_t>(height));
  std::iota(inOrder.begin(), inOrder.end(), 0);
  EXPECT_EQ(rows.asked, inOrder) << width << " x " << height;
  // Told which rows are done with (rows come in batches of up to 64), and
  // never asked for one of those again.
  if (height > 64) {
    EXPECT_GE(rows.forgottenBefore, height / 2) << width << " x " << height;
  }
  EXPECT_EQ(rows.askedAfterForgetting, 0) << width << " x " << height;
}

TEST(HalveRows, GivesStretchBitmapsBytesForEvenAndOddSides) {
  for (int width : kSides)
    for (int height : {2, 3, 8, 9, 67, 68}) ExpectHalvesLikeStretchBitmap(width, height);
}

// Without AVX2 no fused kernel takes an odd side, and the general sweep does.
TEST(HalveRows, GivesStretchBitmapsBytesWithNarrowerVectors) {
  for (const Vectors level : {Vectors::kAvx2, Vectors::kSse2, Vectors::kScalar}) {
    stretch_testing::LimitVectors(level);
    for (int width : kSides)
      for (int height : {4, 9}) ExpectHalvesLikeStretchBitmap(width, height);
  }
  stretch_testing::LimitVectors(Vectors::kAvx512);
}

TEST(HalveRows, AnImageWithoutAHalfIsKeptOrRefusedAsStretchBitmapDoesIt) {
  EXPECT_THROW(HalveRows(NoiseRows(1, 6)), Error);
  EXPECT_THROW(HalveRows(NoiseRows(6, 1)), Error);
  const Bitmap empty = HalveRows(NoiseRows(0, 0));
  EXPECT_TRUE(empty.Empty());
}

}  // namespace
}  // namespace glyphary
