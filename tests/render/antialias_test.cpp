#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "render/antialias.h"
#include "render/render.h"

namespace glyphary {
namespace {

// Two scratch rows of 32-bit pixels whose first bytes are given.
struct ScratchPair {
  std::vector<std::uint8_t> top, bottom;
  ScratchPair(std::initializer_list<std::uint8_t> row0, std::initializer_list<std::uint8_t> row1) {
    for (std::uint8_t v : row0) top.insert(top.end(), {v, 7, 7, 7});
    for (std::uint8_t v : row1) bottom.insert(bottom.end(), {v, 7, 7, 7});
  }
};

std::array<std::uint8_t, 4> BlendOne(std::array<std::uint8_t, 4> dest, const ScratchPair& s,
                                     TColor color) {
  BlendScratchRows(dest.data(), s.top.data(), s.bottom.data(), 1, color);
  return dest;
}

TEST(Blend, MixesTheTextColourByTheCoverageOfEachBlock) {
  const std::array<std::uint8_t, 4> white = {255, 255, 255, 0x5A};
  // All white: unchanged, fourth byte too.
  EXPECT_EQ(BlendOne(white, {{255, 255}, {255, 255}}, kColorBlack), white);
  // All black: black text on white gives black.
  EXPECT_EQ(BlendOne(white, {{0, 0}, {0, 0}}, kColorBlack),
            (std::array<std::uint8_t, 4>{0, 0, 0, 0x5A}));
  // Full coverage of 255 over 0 gives 254, over 255 gives 255.
  EXPECT_EQ(BlendOne({0, 255, 0, 1}, {{0, 0}, {0, 0}}, Rgb(255, 255, 255)),
            (std::array<std::uint8_t, 4>{254, 255, 254, 1}));
  // Half covered (sum 510, m 128): the mean of old and text colour.
  EXPECT_EQ(BlendOne({200, 100, 50, 9}, {{0, 255}, {255, 0}}, Rgb(10, 20, 30)),
            (std::array<std::uint8_t, 4>{115, 60, 30, 9}));
  // sum 1019: m = 255.
  EXPECT_EQ(BlendOne({200, 100, 50, 0}, {{254, 255}, {255, 255}}, Rgb(0, 0, 0)),
            (std::array<std::uint8_t, 4>{199, 99, 49, 0}));
}

TEST(Blend, SamplesOnlyTheFirstByteOfEachScratchPixel) {
  std::vector<std::uint8_t> s0 = {255, 0, 0, 0, 255, 0, 0, 0};
  std::vector<std::uint8_t> s1 = s0;
  std::array<std::uint8_t, 4> dest = {10, 20, 30, 40};
  BlendScratchRows(dest.data(), s0.data(), s1.data(), 1, kColorBlack);
  EXPECT_EQ(dest, (std::array<std::uint8_t, 4>{10, 20, 30, 40}));
}

TEST(Blend, PairsColumnsFromColumnZero) {
  // Columns 0,1 black → pixel 0 black; columns 2,3 white → pixel 1 untouched.
  ScratchPair s({0, 0, 255, 255, 0}, {0, 0, 255, 255, 0});
  std::array<std::uint8_t, 8> dest = {255, 255, 255, 0, 255, 255, 255, 0};
  BlendScratchRows(dest.data(), s.top.data(), s.bottom.data(), 2, kColorBlack);
  EXPECT_EQ(dest, (std::array<std::uint8_t, 8>{0, 0, 0, 0, 255, 255, 255, 0}));
}

FontDescription Font(int height, TColor color = kColorBlack) {
  FontDescription f;
  f.faceName = "IPAPGothic";
  f.height = height;
  f.color = color;
  return f;
}

Bitmap Canvas(int w, int h, TColor fill) {
  Bitmap b(w, h, 32);
  b.Fill(fill);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.Row(y)[4 * x + 3] = std::uint8_t(x * 7 + y);
  return b;
}

TEST(DrawAntialiasedText, BlackOnWhiteGivesGreysAndKeepsTheFourthByte) {
  FontEngine engine;
  Bitmap b = Canvas(200, 60, kColorWhite);
  DrawAntialiasedText(b, 3, 2, Font(-40), "gM字", true, engine);
  int inked = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      const std::uint8_t* p = b.Row(y) + 4 * x;
      EXPECT_EQ(p[0], p[1]);
      EXPECT_EQ(p[1], p[2]);
      EXPECT_EQ(p[3], std::uint8_t(x * 7 + y));
      if (p[0] != 255) {
        ++inked;
        EXPECT_GE(x, 3);
        EXPECT_GE(y, 2);
      }
    }
  EXPECT_GT(inked, 200);
}

TEST(DrawAntialiasedText, ClipsToTheDestination) {
  FontEngine engine;
  // The text is far larger than the destination from (5, 4) on.
  Bitmap b = Canvas(30, 12, Rgb(0, 128, 255));
  DrawAntialiasedText(b, 5, 4, Font(-60, Rgb(255, 0, 0)), "■■■■", true, engine);
  EXPECT_EQ(b.PixelAt(4, 6), Rgb(0, 128, 255));
  EXPECT_EQ(b.PixelAt(10, 3), Rgb(0, 128, 255));
  EXPECT_NE(b.PixelAt(29, 11), Rgb(0, 128, 255));  // ink up to the last pixel
}

TEST(DrawAntialiasedText, EmptyTextChangesNothing) {
  FontEngine engine;
  Bitmap b = Canvas(20, 20, Rgb(1, 2, 3));
  const std::vector<std::uint8_t> before(b.Bits(), b.Bits() + b.ImageSize());
  DrawAntialiasedText(b, 0, 0, Font(-20), "", false, engine);
  EXPECT_TRUE(std::equal(before.begin(), before.end(), b.Bits()));
}

TEST(DrawAntialiasedText, BandsAndTilesGiveTheSameImageAsOneScratch) {
  FontEngine engine;
  const std::string text = "今日の天気 Sunny_gÅ";
  Bitmap whole = Canvas(400, 70, Rgb(240, 250, 200));
  Bitmap banded = whole;
  DrawAntialiasedText(whole, 1, 1, Font(-50, Rgb(20, 40, 160)), text, true, engine);
  // Tiles of 34 columns, bands of one row pair: every seam is crossed.
  DrawAntialiasedText(banded, 1, 1, Font(-50, Rgb(20, 40, 160)), text, true, engine,
                      ScratchLimits{34, 1});
  ASSERT_EQ(whole.ImageSize(), banded.ImageSize());
  EXPECT_EQ(std::memcmp(whole.Bits(), banded.Bits(), whole.ImageSize()), 0);
}

TEST(DrawAntialiasedText, UnderlineIsDrawnAndAveragedLikeAGlyph) {
  FontEngine engine;
  FontDescription f = Font(-40);
  Bitmap underlined = Canvas(100, 40, kColorWhite);
  f.underline = true;
  DrawAntialiasedText(underlined, 0, 0, f, "ab", false, engine);
  Bitmap noLine = Canvas(100, 40, kColorWhite);
  f.underline = false;
  DrawAntialiasedText(noLine, 0, 0, f, "ab", false, engine);
  int extra = 0;
  for (int x = 0; x < 100; ++x)
    for (int y = 0; y < 40; ++y) extra += underlined.PixelAt(x, y) != noLine.PixelAt(x, y);
  EXPECT_GT(extra, 20);
}

}  // namespace
}  // namespace glyphary
