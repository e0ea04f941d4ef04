#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "render/antialias.h"
#include "render/render.h"

namespace glyphary {
namespace {

using Pixel = std::array<std::uint8_t, 4>;

// One destination pixel blended from a 2 × 2 scratch block with the given
// first bytes; the other scratch bytes are noise that must not count.
Pixel Blend(Pixel dest, std::array<std::uint8_t, 4> block, TColor color) {
  const std::vector<std::uint8_t> s0 = {block[0], 1, 2, 3, block[1], 4, 5, 6};
  const std::vector<std::uint8_t> s1 = {block[2], 7, 8, 9, block[3], 0, 0, 0};
  BlendScratchRows(dest.data(), s0.data(), s1.data(), 1, color);
  return dest;
}

TEST(Blend, MixesTheTextColourByCoverageAndKeepsTheFourthByte) {
  EXPECT_EQ(Blend({255, 255, 255, 90}, {255, 255, 255, 255}, kColorBlack),
            (Pixel{255, 255, 255, 90}));
  EXPECT_EQ(Blend({255, 255, 255, 90}, {0, 0, 0, 0}, kColorBlack), (Pixel{0, 0, 0, 90}));
  // Full coverage of 255 gives 254 over 0 and 255 over 255.
  EXPECT_EQ(Blend({0, 255, 0, 1}, {0, 0, 0, 0}, Rgb(255, 255, 255)), (Pixel{254, 255, 254, 1}));
  // Half covered: the mean of old and text colour (blue, green, red order).
  EXPECT_EQ(Blend({200, 100, 50, 9}, {0, 255, 255, 0}, Rgb(10, 20, 30)), (Pixel{115, 60, 30, 9}));
  // sum 1019 → m = 255.
  EXPECT_EQ(Blend({200, 100, 50, 0}, {254, 255, 255, 255}, kColorBlack), (Pixel{199, 99, 49, 0}));
}

Bitmap Canvas(int w, int h, TColor fill) {
  Bitmap b(w, h, 32);
  b.Fill(fill);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.Row(y)[4 * x + 3] = std::uint8_t(x * 7 + y);
  return b;
}

TEST(DrawAntialiasedText, BlackOnWhiteGivesGreysFromThePositionOn) {
  FontEngine engine;
  Bitmap b = Canvas(200, 60, kColorWhite);
  DrawAntialiasedText(b, 3, 2, {"IPAPGothic", -40}, "gM字", true, engine);
  int inked = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      const std::uint8_t* p = b.Row(y) + 4 * x;
      ASSERT_TRUE(p[0] == p[1] && p[1] == p[2]);
      ASSERT_EQ(p[3], std::uint8_t(x * 7 + y));
      if (p[0] != 255) {
        ++inked;
        ASSERT_TRUE(x >= 3 && y >= 2);
      }
    }
  EXPECT_GT(inked, 200);
}

TEST(DrawAntialiasedText, ClipsToTheDestination) {
  FontEngine engine;
  Bitmap b = Canvas(30, 12, Rgb(0, 128, 255));
  FontDescription font{"IPAPGothic", -60};
  font.color = Rgb(255, 0, 0);
  DrawAntialiasedText(b, 5, 4, font, "■■■■", true, engine);
  EXPECT_EQ(b.PixelAt(4, 6), Rgb(0, 128, 255));
  EXPECT_EQ(b.PixelAt(10, 3), Rgb(0, 128, 255));
  EXPECT_NE(b.PixelAt(29, 11), Rgb(0, 128, 255));  // ink up to the last pixel
}

}  // namespace
}  // namespace glyphary
