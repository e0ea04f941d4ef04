#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "render/render.h"

namespace glyphary {
namespace {

constexpr TColor kBg = Rgb(10, 20, 30);

// A 32-bit image of background with the given pixels inked, brush = background.
Bitmap Image(int w, int h, std::initializer_list<std::pair<int, int>> ink, TColor color = kBg) {
  Bitmap b(w, h, 32);
  b.SetBrushColor(color);
  b.Fill(color);
  for (auto [x, y] : ink) {
    std::uint8_t* p = b.Row(y) + 4 * x;
    p[0] = std::uint8_t(x);
    p[1] = std::uint8_t(y);
    p[2] = 200;
  }
  return b;
}

TColor InkAt(int x, int y) {
  return Rgb(200, std::uint8_t(y), std::uint8_t(x));
}

TEST(TrimToContent, LeavesTwoRowsAboveOneBelowAndThreeColumnsRight) {
  Bitmap b = Image(40, 30, {{5, 10}, {12, 14}});
  TrimToContent(b, kBg);
  // lastRow 14 − top 10 + 4 rows, lastCol 12 + 5 columns.
  ASSERT_EQ(b.Width(), 17);
  ASSERT_EQ(b.Height(), 8);
  EXPECT_EQ(b.PixelAt(6, 2), InkAt(5, 10));    // first ink row on row 2, one column right
  EXPECT_EQ(b.PixelAt(13, 6), InkAt(12, 14));  // last ink row on the next-to-last row
  for (int x = 0; x < 17; ++x) {
    EXPECT_EQ(b.PixelAt(x, 0), kBg);
    EXPECT_EQ(b.PixelAt(x, 1), kBg);
    EXPECT_EQ(b.PixelAt(x, 7), kBg);
  }
  for (int y = 0; y < 8; ++y)
    for (int x = 14; x < 17; ++x) EXPECT_EQ(b.PixelAt(x, y), kBg);
}

TEST(TrimToContent, InkInTheFirstRowAndColumnKeepsTheOldPixelsThere) {
  Bitmap b = Image(10, 8, {{0, 0}, {0, 1}, {3, 2}});
  TrimToContent(b, kBg);
  ASSERT_EQ(b.Width(), 8);
  ASSERT_EQ(b.Height(), 6);
  // Row 0 and row 1 have no shifted source and keep the old rows, unshifted.
  EXPECT_EQ(b.PixelAt(0, 0), InkAt(0, 0));
  EXPECT_EQ(b.PixelAt(0, 1), InkAt(0, 1));
  EXPECT_EQ(b.PixelAt(1, 1), kBg);
  // Row 2 onward: old row y − 2 one column right; column 0 keeps the old column 0.
  EXPECT_EQ(b.PixelAt(1, 2), InkAt(0, 0));
  EXPECT_EQ(b.PixelAt(1, 3), InkAt(0, 1));
  EXPECT_EQ(b.PixelAt(0, 2), kBg);
  EXPECT_EQ(b.PixelAt(4, 4), InkAt(3, 2));
}

TEST(TrimToContent, InkFarDownMovesUpWithTheRowsBelowIt) {
  // Ink in the bottom rows: the sources of the last output rows lie below the new height.
  Bitmap b = Image(6, 50, {{2, 40}, {3, 48}});
  TrimToContent(b, kBg);
  ASSERT_EQ(b.Height(), 12);
  EXPECT_EQ(b.PixelAt(3, 2), InkAt(2, 40));
  EXPECT_EQ(b.PixelAt(4, 10), InkAt(3, 48));
  EXPECT_EQ(b.PixelAt(4, 11), kBg);  // old row 49
}

// The crop done literally: scans through a pixel reader, a resize that keeps
// the overlap, then the shifted copy from an untouched copy.
Bitmap LiteralTrim(Bitmap b, TColor background) {
  const Bitmap copy = b;
  const int w = b.Width(), h = b.Height();
  const auto ink = [&](int x, int y) { return copy.PixelAt(x, y) != background; };
  int top = 0, bottomCut = 0, rightCut = 0;
  [&] {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (ink(x, y)) return void(top = y);
  }();
  [&] {
    for (int y = h - 1; y >= 0; --y)
      for (int x = 0; x < w; ++x)
        if (ink(x, y)) return void(bottomCut = h - y);
  }();
  [&] {
    for (int x = w - 1; x >= 0; --x)
      for (int y = 0; y < h; ++y)
        if (ink(x, y)) return void(rightCut = w - x);
  }();
  b.SetHeight(h - bottomCut - top + 4);
  b.SetWidth(w - rightCut + 5);
  for (int y = 1; y < b.Height(); ++y)
    for (int x = 1; x < b.Width(); ++x) {
      const int sx = x - 1, sy = y + top - 2;
      if (sx < w && sy >= 0 && sy < h) std::memcpy(b.Row(y) + 4 * x, copy.Row(sy) + 4 * sx, 4);
    }
  return b;
}

TEST(TrimToContent, GivesWhatTheLiteralCropGivesForAnyInk) {
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    const int w = 1 + int(random() % 12), h = 1 + int(random() % 12);
    Bitmap b = Image(w, h, {});
    for (int i = int(random() % 4); i > 0; --i) {
      const int x = int(random() % w), y = int(random() % h);
      b.Row(y)[4 * x] = std::uint8_t(x);
      b.Row(y)[4 * x + 2] = 200;
      b.Row(y)[4 * x + 3] = std::uint8_t(random());
    }
    const Bitmap expected = LiteralTrim(b, kBg);
    TrimToContent(b, kBg);
    ASSERT_EQ(b.Width(), expected.Width()) << round;
    ASSERT_EQ(b.Height(), expected.Height()) << round;
    ASSERT_EQ(std::memcmp(b.Bits(), expected.Bits(), b.ImageSize()), 0) << round;
  }
}

TEST(TrimToContent, WithoutInkGrowsByTheMargins) {
  Bitmap b = Image(7, 5, {});
  TrimToContent(b, kBg);
  EXPECT_EQ(b.Width(), 12);
  EXPECT_EQ(b.Height(), 9);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 12; ++x) EXPECT_EQ(b.PixelAt(x, y), kBg);
}

TEST(TrimToContent, AnEmptyImageBecomesSixColumnsOfBackground) {
  Bitmap b(0, 10, 32);
  b.SetBrushColor(kBg);
  TrimToContent(b, kBg);
  EXPECT_EQ(b.Width(), 6);
  EXPECT_EQ(b.Height(), 14);
  EXPECT_EQ(b.PixelAt(5, 13), kBg);
}

TEST(TrimToContent, FaintestDifferenceCountsAsInk) {
  Bitmap b = Image(9, 9, {});
  b.Row(4)[4 * 6 + 1] ^= 1;  // green off by one
  TrimToContent(b, kBg);
  EXPECT_EQ(b.Width(), 11);
  EXPECT_EQ(b.Height(), 4);
}

TEST(TrimToContent, ASystemColourBackgroundEqualsNoPixelAndCropsNothing) {
  constexpr TColor kWindow = 0x80000005;  // resolves to white
  Bitmap b = Image(20, 10, {}, kWindow);
  TrimToContent(b, kWindow);
  EXPECT_EQ(b.Width(), 24);
  EXPECT_EQ(b.Height(), 13);
}

TEST(TrimToContent, KeepsTheFormatOfA24BitImage) {
  Bitmap b(8, 6, 24);
  b.SetBrushColor(kColorWhite);
  b.Fill(kColorWhite);
  b.Row(3)[3 * 2] = 0;
  TrimToContent(b, kColorWhite);
  EXPECT_EQ(b.BitsPerPixel(), 24);
  EXPECT_EQ(b.Width(), 7);
  EXPECT_EQ(b.Height(), 4);
  EXPECT_EQ(b.PixelAt(3, 2), Rgb(255, 255, 0));
}

}  // namespace
}  // namespace glyphary
