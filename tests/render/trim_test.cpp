#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "image/image.h"
#include "literal_steps.h"
#include "render/caption.h"

namespace glyphary {
namespace {

constexpr TColor kBg = Rgb(10, 20, 30);

// A 32-bit image of background with the given pixels inked, brush = background.
Bitmap Image(int w, int h, std::initializer_list<std::pair<int, int>> ink, TColor color = kBg) {
  Bitmap b(w, h, 32);
  b.SetBrushColor(color);
  b.Fill(color);
  for (auto [x, y] : ink) b.Row(y)[4 * x + 2] = 200;
  return b;
}

TEST(TrimToContent, LeavesTwoRowsAboveOneBelowAndThreeColumnsRight) {
  Bitmap b = Image(40, 30, {{5, 10}, {12, 14}});
  TrimToContent(b, kBg);
  ASSERT_EQ(b.Width(), 17);          // last ink column 12 + 5
  ASSERT_EQ(b.Height(), 8);          // last ink row 14 − first 10 + 4
  EXPECT_NE(b.PixelAt(6, 2), kBg);   // first ink row on row 2, one column right
  EXPECT_NE(b.PixelAt(13, 6), kBg);  // last ink row on the next-to-last row
  EXPECT_EQ(b.PixelAt(5, 2), kBg);
}

TEST(TrimToContent, InkInTheFirstRowAndColumnKeepsTheOldPixelsThere) {
  Bitmap b = Image(10, 8, {{0, 0}, {0, 1}, {3, 2}});
  TrimToContent(b, kBg);
  ASSERT_EQ(b.Width(), 8);
  ASSERT_EQ(b.Height(), 6);
  EXPECT_NE(b.PixelAt(0, 1), kBg);  // row 1 has no source row: old row 1, unshifted
  EXPECT_EQ(b.PixelAt(1, 1), kBg);
  EXPECT_EQ(b.PixelAt(0, 2), kBg);  // column 0 keeps the old column 0
  EXPECT_NE(b.PixelAt(1, 2), kBg);
}

TEST(TrimToContent, WithoutInkOrWithASystemColourBackgroundCropsNothing) {
  Bitmap empty(0, 10, 32);
  empty.SetBrushColor(kBg);
  TrimToContent(empty, kBg);
  EXPECT_EQ(empty.Width(), 6);
  EXPECT_EQ(empty.Height(), 14);
  EXPECT_EQ(empty.PixelAt(5, 13), kBg);
  constexpr TColor kWindow = 0x80000005;  // resolves to white, equals no pixel
  Bitmap b = Image(20, 10, {}, kWindow);
  TrimToContent(b, kWindow);
  EXPECT_EQ(b.Width(), 24);
  EXPECT_EQ(b.Height(), 13);
}

// The crop done literally: scans through a pixel reader, a resize that keeps
// the overlap, then the shifted copy from an untouched copy.
Bitmap LiteralTrim(Bitmap b, TColor background) {
  const Bitmap copy = b;
  const int w = b.Width(), h = b.Height();
  int top = h, lastRow = -1, lastCol = -1;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (copy.PixelAt(x, y) != background) {
        top = std::min(top, y);
        lastRow = y;
        lastCol = std::max(lastCol, x);
      }
  if (lastRow < 0) top = 0;
  b.SetHeight(lastRow < 0 ? h + 4 : lastRow - top + 4);
  b.SetWidth(lastRow < 0 ? w + 5 : lastCol + 5);
  for (int y = 1; y < b.Height(); ++y)
    for (int x = 1; x < b.Width(); ++x)
      if (x - 1 < w && y + top - 2 >= 0 && y + top - 2 < h)
        std::memcpy(b.Row(y) + 4 * x, copy.Row(y + top - 2) + 4 * (x - 1), 4);
  return b;
}

TEST(TrimToContent, GivesWhatTheLiteralCropGivesForAnyInk) {
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    const int w = 1 + int(random() % 12), h = 1 + int(random() % 12);
    Bitmap b = Image(w, h, {});
    for (int i = int(random() % 4); i > 0; --i) {
      std::uint8_t* p = b.Row(int(random() % h)) + 4 * (random() % w);
      p[random() % 3] ^= std::uint8_t(1 + random() % 255);  // even a faint difference is ink
      p[3] = std::uint8_t(random());
    }
    const Bitmap expected = LiteralTrim(b, kBg);
    TrimToContent(b, kBg);
    ASSERT_EQ(b.Width(), expected.Width()) << round;
    ASSERT_EQ(b.Height(), expected.Height()) << round;
    ASSERT_EQ(std::memcmp(b.Bits(), expected.Bits(), b.ImageSize()), 0) << round;
  }
}

// The working pixels of a run are the text blended into the background, as
// the literal blend makes them, and take exactly their bytes: runs of eight
// are copied as whole words that reach one byte into the next pixel, which
// the last pixel of a run must never do, whatever its length.
TEST(WorkingPixels, ARunOfAnyLengthIsTheBlendAndWritesNoByteBeyondIt) {
  constexpr TColor kText = Rgb(200, 40, 90);
  constexpr std::uint8_t kGuard = 0xA5;
  std::mt19937 random(11);
  for (const int count : {1, 7, 8, 9, 16, 17, 24, 40}) {
    Coverage coverage;
    coverage.width = count;
    coverage.height = 1;
    coverage.values = PageBytes(std::size_t(count));
    // Blocks of eight alternately clear (255) and inked, the last one inked.
    for (int x = 0; x < count; ++x)
      coverage.Row(0)[x] = (count - 1 - x) / 8 % 2 ? 255 : std::uint8_t(random() % 255);
    Bitmap expected(count, 1, 32);
    expected.Fill(kBg);
    BlendCoverage(expected.Row(0), coverage.Row(0), count, kText);
    for (const int bytes : {3, 4}) {
      std::vector<std::uint8_t> out(std::size_t(count * bytes) + 1, kGuard);
      WriteWorkingPixels(out.data(), 0, 0, count, coverage, kBg, kText, bytes);
      EXPECT_EQ(out.back(), kGuard) << count << " pixels of " << bytes << " bytes";
      for (int x = 0; x < count; ++x)
        ASSERT_EQ(std::memcmp(&out[std::size_t(x * bytes)], expected.Row(0) + 4 * x, 3), 0)
            << "pixel " << x << " of " << count;
    }
  }
}

}  // namespace
}  // namespace glyphary
