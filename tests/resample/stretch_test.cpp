#include <gtest/gtest.h>

#include <vector>

#include "resample/resample.h"
#include "resample/stretch.h"

namespace glyphary {
namespace {

// A one-row grey bitmap holding the given levels.
Bitmap GreyRow(const std::vector<int>& levels) {
  Bitmap b(int(levels.size()), 1, 24);
  for (std::size_t i = 0; i < levels.size(); ++i)
    for (int k = 0; k < 3; ++k) b.Row(0)[3 * i + k] = std::uint8_t(levels[i]);
  return b;
}

std::vector<int> Levels(const Bitmap& b) {
  std::vector<int> out;
  for (int x = 0; x < b.Width(); ++x) {
    const TColor c = b.PixelAt(x, 0);
    EXPECT_TRUE(RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c)) << "pixel " << x;
    out.push_back(RedOf(c));
  }
  return out;
}

std::vector<int> Stretched(const std::vector<int>& levels, int width) {
  Bitmap b = GreyRow(levels);
  StretchBitmap(b, width, 1);
  return Levels(b);
}

TEST(CubicWeights, NegativeHalvesRoundUpAndNodesCopy) {
  EXPECT_EQ(CubicWeights(1.5L, 1048576), (CubicWeightSet{-65535, 589824, 589824, -65535}));
  EXPECT_EQ(CubicWeights(1.0L, 1048576), (CubicWeightSet{0, 1048576, 0, 0}));
  EXPECT_EQ(CubicWeights(1.25L, 1 << 20), (CubicWeightSet{-57343, 860160, 286720, -40959}));
}

TEST(Enlarge, InterpolatesAndClampsOvershoot) {
  EXPECT_EQ(Stretched({0, 255}, 3), (std::vector<int>{0, 128, 255}));
  EXPECT_EQ(Stretched({0, 255, 0}, 5), (std::vector<int>{0, 143, 255, 143, 0}));
  EXPECT_EQ(Stretched({0, 0, 255, 255}, 13),
            (std::vector<int>{0, 0, 0, 0, 0, 60, 128, 195, 255, 255, 255, 255, 255}));
}

TEST(Shrink, AveragesCoveredAreas) {
  EXPECT_EQ(Stretched({10, 20, 30, 40, 50}, 2), (std::vector<int>{18, 42}));
  // Exact halving rounds (a + b) / 2 + 1/4 down.
  EXPECT_EQ(Stretched({1, 2, 0, 1, 254, 255}, 3), (std::vector<int>{1, 0, 254}));
}

TEST(Shrink, HalvingRoundsEachDirectionSeparately) {
  // Width first: (1 + 0) >> 1 = 0 and (1 + 2) >> 1 = 1, then (0 + 1) >> 1 = 0,
  // where one four-pixel mean would give 1.
  Bitmap b(2, 2, 24);
  const std::uint8_t levels[2][2] = {{1, 0}, {1, 2}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x)
      for (int k = 0; k < 3; ++k) b.Row(y)[3 * x + k] = levels[y][x];
  StretchBitmap(b, 1, 1);
  EXPECT_EQ(b.PixelAt(0, 0), Rgb(0, 0, 0));
}

TEST(Stretch, OneColourSurvivesEnlargingAndReductionsUpTo64) {
  const TColor colours[] = {kColorWhite, kColorBlack, Rgb(200, 1, 128), Rgb(17, 254, 99)};
  const int sizes[][4] = {{64, 64, 1, 1}, {64, 3, 7, 1},  {65, 130, 2, 3},
                          {9, 5, 40, 33}, {3, 2, 200, 2}, {100, 37, 37, 100}};
  for (TColor colour : colours) {
    for (const auto& s : sizes) {
      Bitmap b(s[0], s[1], 24);
      b.Fill(colour);
      StretchBitmap(b, s[2], s[3]);
      for (int y = 0; y < s[3]; ++y)
        for (int x = 0; x < s[2]; ++x)
          ASSERT_EQ(b.PixelAt(x, y), colour)
              << s[0] << "x" << s[1] << " to " << s[2] << "x" << s[3];
    }
  }
}

TEST(Stretch, ExtremeReductionDoesNotWrapPastWhite) {
  // 66052:1 rounds the normalisation up far enough that the plain product
  // would come to 257 and wrap to 1.
  Bitmap b(66052, 1, 24);
  b.Fill(kColorWhite);
  StretchBitmap(b, 1, 1);
  EXPECT_EQ(b.PixelAt(0, 0), kColorWhite);
}

TEST(Stretch, SameSizeStillBecomes24Bit) {
  Bitmap b(3, 2, 32);
  for (int y = 0; y < 2; ++y)
    for (int i = 0; i < 12; ++i) b.Row(y)[i] = std::uint8_t(20 * i + y);
  const Bitmap original = b;
  StretchBitmap(b, 3, 2);
  ASSERT_EQ(b.BitsPerPixel(), 24);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(b.PixelAt(x, y), original.PixelAt(x, y));
}

TEST(Stretch, PaletteImageIsResampledInColourAndLosesItsPalette) {
  Bitmap b(2, 1, 8);
  b.SetPalette({{10, 20, 30, 0}, {30, 40, 50, 0}});
  b.Row(0)[1] = 1;
  StretchBitmap(b, 1, 1);
  EXPECT_EQ(b.BitsPerPixel(), 24);
  EXPECT_TRUE(b.Palette().empty());
  EXPECT_EQ(b.PixelAt(0, 0), Rgb(40, 30, 20));
}

TEST(Stretch, EmptyBitmapIsLeftAlone) {
  Bitmap b(0, 5, 32);
  EXPECT_NO_THROW(StretchBitmap(b, 0, 0));
  EXPECT_NO_THROW(StretchBitmap(b, 4, 4));
  EXPECT_EQ(b.Width(), 0);
  EXPECT_EQ(b.Height(), 5);
  EXPECT_EQ(b.BitsPerPixel(), 32);
}

TEST(Stretch, RefusesTargetsWithoutPixelsAndLeavesBitmapAsItWas) {
  Bitmap b(3, 3, 32);
  b.Fill(Rgb(9, 8, 7));
  for (auto [w, h] : {std::pair{0, 2}, std::pair{2, 0}, std::pair{-1, 2}, std::pair{2, -5}}) {
    try {
      StretchBitmap(b, w, h);
      ADD_FAILURE() << w << "x" << h << " accepted";
    } catch (const Error& e) {
      EXPECT_NE(std::string(e.what()).find("1 以上"), std::string::npos) << e.what();
    }
    EXPECT_EQ(b.Width(), 3);
    EXPECT_EQ(b.BitsPerPixel(), 32);
    EXPECT_EQ(b.PixelAt(2, 2), Rgb(9, 8, 7));
  }
}

}  // namespace
}  // namespace glyphary
