#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "literal_steps.h"
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
  std::uint8_t coverage = 0;
  ReduceScratchRows(&coverage, s0.data(), s1.data(), 1);
  BlendCoverage(dest.data(), &coverage, 1, color);
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

// The coverage value at block (x, y), 255 outside the box it was drawn over.
int CoverageAt(const Coverage& c, int x, int y) {
  if (x < c.left || x >= c.Right() || y < c.top || y >= c.Bottom()) return 255;
  return c.Row(y - c.top)[x - c.left];
}

// Drawn from a single block inside the ink, the box grows until the ink
// leaves its edges and holds exactly what the measured box holds.
TEST(DrawCoverage, AStartTooSmallForTheInkGrowsUntilNoInkIsLost) {
  FontEngine engine;
  FontDescription font{"IPAGothic", -40};
  font.italic = true;
  const std::string text = "■gÅ";
  const Coverage measured = DrawCoverage(font, text, true, engine, {});
  const FontDescription scratch = ScratchFont(font, true, engine);
  const int k = measured.left + 10, r = measured.top + measured.height / 2;
  ASSERT_LT(CoverageAt(measured, k, r), 255);
  const Coverage grown = DrawCoverageFrom({k, r, k + 1, r + 1}, scratch, text, engine, {});
  int differ = 0;
  for (int y = std::min(measured.top, grown.top); y < std::max(measured.Bottom(), grown.Bottom());
       ++y)
    for (int x = std::min(measured.left, grown.left); x < std::max(measured.Right(), grown.Right());
         ++x)
      differ += CoverageAt(measured, x, y) != CoverageAt(grown, x, y);
  EXPECT_EQ(differ, 0);
}

// The measured box leaves a clear border around the ink, so one drawing
// suffices, for every style and for the underline beside trailing spaces.
TEST(DrawCoverage, TheMeasuredBoxHasNoInkOnItsEdges) {
  FontEngine engine;
  for (const char* face : {"IPAMincho", "DejaVu Serif", "Loma"})
    for (int style = 0; style < 8; ++style) {
      FontDescription font{face, -30};
      font.bold = style & 1;
      font.italic = style & 2;
      font.underline = style & 4;
      const Coverage c = DrawCoverage(font, "ÅjgŲ ที่ ", true, engine, {});
      ASSERT_GT(c.width, 2);
      bool edgeInk = false;
      for (int x = 0; x < c.width; ++x)
        edgeInk |= c.Row(0)[x] != 255 || c.Row(c.height - 1)[x] != 255;
      for (int y = 0; y < c.height; ++y)
        edgeInk |= c.Row(y)[0] != 255 || c.Row(y)[c.width - 1] != 255;
      EXPECT_FALSE(edgeInk) << face << " style " << style;
    }
}

}  // namespace
}  // namespace glyphary
