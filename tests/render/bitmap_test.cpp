#include <gtest/gtest.h>

#include "image/image.h"

namespace glyphary {
namespace {

TEST(Bitmap, RowsArePaddedToFourBytesAndStoredBottomUp) {
  Bitmap b(3, 2, 24);
  EXPECT_EQ(b.Stride(), 12u);
  EXPECT_EQ(b.ImageSize(), 24u);
  EXPECT_EQ(b.Row(1), b.Bits());  // the bottom row comes first in memory
  EXPECT_EQ(b.Row(0), b.Bits() + 12);
  EXPECT_EQ(Bitmap::StrideFor(1, 8), 4u);
  EXPECT_EQ(Bitmap::StrideFor(5, 32), 20u);
}

TEST(Bitmap, NewBitmapIsWhiteAndPaddingIsZero) {
  Bitmap b(1, 1, 24);
  EXPECT_EQ(b.PixelAt(0, 0), kColorWhite);
  EXPECT_EQ(b.Row(0)[3], 0);
}

TEST(Bitmap, UninitialisedBitmapHasItsShapeAndZeroPadding) {
  for (int round = 0; round < 2; ++round) {
    {
      Bitmap white(5, 300, 24);  // leaves set bytes behind for the next allocation
      white.Fill(kColorWhite);
    }
    Bitmap b = Bitmap::Uninitialised(5, 300);
    ASSERT_EQ(b.Width(), 5);
    ASSERT_EQ(b.Height(), 300);
    ASSERT_EQ(b.BitsPerPixel(), 24);
    ASSERT_EQ(b.ImageSize(), 16u * 300);
    for (int y = 0; y < 300; ++y) ASSERT_EQ(b.Row(y)[15], 0) << "row " << y;
    b.SetWidth(6);  // resizing still gives new pixels the brush
    EXPECT_EQ(b.PixelAt(5, 299), kColorWhite);
  }
  EXPECT_THROW(Bitmap::Uninitialised(1 << 20, 1 << 20, 32), Error);
  EXPECT_TRUE(Bitmap::Uninitialised(0, 0).Empty());
}

TEST(Bitmap, ResizeKeepsOverlapAndFillsNewPixelsWithBrush) {
  Bitmap b(2, 2, 32);
  b.Fill(Rgb(1, 2, 3));
  b.SetBrushColor(Rgb(9, 8, 7));
  b.SetSize(3, 1);
  ASSERT_EQ(b.Width(), 3);
  ASSERT_EQ(b.Height(), 1);
  EXPECT_EQ(b.PixelAt(0, 0), Rgb(1, 2, 3));
  EXPECT_EQ(b.PixelAt(1, 0), Rgb(1, 2, 3));
  EXPECT_EQ(b.PixelAt(2, 0), Rgb(9, 8, 7));
  b.SetHeight(2);
  EXPECT_EQ(b.PixelAt(0, 1), Rgb(9, 8, 7));
  EXPECT_EQ(b.PixelAt(0, 0), Rgb(1, 2, 3));
}

TEST(Bitmap, BrushResolvesSystemColors) {
  Bitmap b;
  b.SetBrushColor(0x80000005);  // window background
  EXPECT_EQ(b.BrushColor(), ColorToRGB(0x80000005));
  EXPECT_FALSE(IsSystemColor(b.BrushColor()));
}

TEST(Bitmap, ConversionKeepsColorsAndDropsPalette) {
  Bitmap b(2, 1, 8);
  b.SetPalette({{10, 20, 30, 0}, {1, 2, 3, 0}});
  b.Row(0)[1] = 1;
  b.SetBitsPerPixel(32);
  EXPECT_EQ(b.PixelAt(0, 0), Rgb(30, 20, 10));
  EXPECT_EQ(b.PixelAt(1, 0), Rgb(3, 2, 1));
  EXPECT_TRUE(b.Palette().empty());
  b.SetBitsPerPixel(24);
  EXPECT_EQ(b.BitsPerPixel(), 24);
  EXPECT_EQ(b.PixelAt(1, 0), Rgb(3, 2, 1));
}

TEST(Bitmap, AbsurdSizesAreRefusedWithAMessage) {
  EXPECT_THROW(Bitmap(-1, 5), Error);
  EXPECT_THROW(Bitmap(1 << 20, 1 << 20, 32), Error);
  Bitmap b(4, 4);
  EXPECT_THROW(b.SetSize(1 << 30, 1 << 30), Error);
  EXPECT_EQ(b.Width(), 4);  // a refused resize leaves the bitmap as it was
}

TEST(Color, SystemColorsResolveOthersPassThrough) {
  EXPECT_EQ(ColorToRGB(0x00123456), 0x00123456u);
  EXPECT_EQ(ColorToRGB(0x1FFFFFFF), 0x1FFFFFFFu);
  EXPECT_EQ(ColorToRGB(0x80000005), kColorWhite);  // window
  EXPECT_EQ(ColorToRGB(0x80000012), kColorBlack);  // button text
  EXPECT_FALSE(IsSystemColor(ColorToRGB(0x800000FF)));
}

TEST(Bitmap, GrowingFromNothingFillsEveryPixelWithTheBrush) {
  Bitmap b(0, 0, 32);
  b.SetBrushColor(Rgb(5, 6, 7));
  b.SetHeight(3);  // still empty: zero width
  b.SetWidth(5);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) ASSERT_EQ(b.PixelAt(x, y), Rgb(5, 6, 7)) << x << "," << y;
  EXPECT_EQ(b.Row(0)[3], 0);  // fourth byte
}

}  // namespace
}  // namespace glyphary
