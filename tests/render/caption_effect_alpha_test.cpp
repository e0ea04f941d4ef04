// A caption with a border or a shadow and real transparency: laid over its
// own background it is the opaque caption, and each layer keeps its colour.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "alpha_over.h"
#include "effect_pixels.h"

namespace glyphary {
namespace {

int Difference(TColor a, TColor b) {
  return std::max({std::abs(RedOf(a) - RedOf(b)), std::abs(GreenOf(a) - GreenOf(b)),
                   std::abs(BlueOf(a) - BlueOf(b))});
}

struct Case {
  TColor text, background, border, shadow;
  int width, x, y, blur;
  int outer = 0;  // a second border in the shadow's colour, and a fill to it
  bool gradient = false;
};

// The opaque caption rounds each layer's blend down, the alpha caption to
// the nearest, and its colour and alpha are halved apart: they part by up
// to three levels, most in the faint tail of a wide blur.
TEST(AlphaCaptionEffect, OverItsOwnBackgroundItIsTheOpaqueCaption) {
  FontEngine engine;
  const Case cases[] = {
      {kColorBlack, kColorWhite, Rgb(255, 0, 0), Rgb(0, 0, 255), 3, 4, 4, 0},
      {kColorWhite, Rgb(0, 0, 128), kColorBlack, Rgb(90, 90, 90), 2, -3, 5, 4},
      {Rgb(250, 200, 0), Rgb(12, 200, 12), Rgb(200, 30, 60), kColorBlack, 0, 6, -2, 10},
      {Rgb(10, 10, 10), Rgb(250, 250, 210), Rgb(0, 90, 255), Rgb(255, 255, 0), 8, 0, 0, 0},
      {Rgb(255, 240, 0), Rgb(0, 0, 128), kColorWhite, Rgb(139, 0, 0), 3, 4, 4, 4, 6, true},
  };
  for (const Case& c : cases) {
    CaptionStyle style = PlainStyle(30);
    style.textColor = c.text;
    style.backgroundColor = c.background;
    style.effect = {c.width, c.border, c.x,      c.y,        c.shadow,
                    c.blur,  c.outer,  c.shadow, c.gradient, c.shadow};
    SCOPED_TRACE("border " + std::to_string(c.width) + " shadow " + std::to_string(c.x) + "," +
                 std::to_string(c.y) + " blur " + std::to_string(c.blur));
    const Bitmap opaque = Opaque(kEffectText, style, engine);
    const Bitmap alpha = Transparent(kEffectText, style, engine);
    ASSERT_EQ(alpha.BitsPerPixel(), 32);
    ASSERT_EQ(alpha.Width(), opaque.Width());
    ASSERT_EQ(alpha.Height(), opaque.Height());
    int seen = 0, offByMore = 0;
    for (int y = 0; y < alpha.Height(); ++y)
      for (int x = 0; x < alpha.Width(); ++x) {
        const int miss = Difference(Over(alpha, x, y, c.background), opaque.PixelAt(x, y));
        ASSERT_LE(miss, 3) << x << "," << y;
        offByMore += miss > 2;
        seen += alpha.Row(y)[4 * x + 3] != 0;
      }
    EXPECT_GT(seen, 1000);
    EXPECT_LT(offByMore * 100, seen) << "three levels at under 1 per cent of the shown pixels";
    EXPECT_EQ(alpha.Row(0)[3], 0) << "the background is fully transparent";
  }
}

// Black text and a green border lower blue, a blue shadow does not: where
// the opaque caption's blue is whole but red is not, the shadow lies alone.
TEST(AlphaCaptionEffect, WhereTheShadowLiesAloneItsColourShowsWithItsCoverage) {
  FontEngine engine;
  CaptionStyle style = PlainStyle();
  style.effect = {2, Rgb(0, 255, 0), 4, 4, Rgb(0, 0, 255), 0};
  const Bitmap opaque = Opaque(kEffectText, style, engine);
  const Bitmap alpha = Transparent(kEffectText, style, engine);
  int alone = 0;
  for (int y = 0; y < opaque.Height(); ++y)
    for (int x = 0; x < opaque.Width(); ++x) {
      const TColor shown = opaque.PixelAt(x, y);
      if (BlueOf(shown) != 255 || RedOf(shown) == 255) continue;
      ++alone;
      ASSERT_EQ(alpha.PixelAt(x, y), Rgb(0, 0, 255)) << x << "," << y;
      ASSERT_NEAR(alpha.Row(y)[4 * x + 3], 255 - RedOf(shown), 2) << x << "," << y;
    }
  EXPECT_GT(alone, 300);
}

// A white border on the default white background is the usual title over
// video: invisible in the opaque caption, it must not be cut from the alpha
// one. The crop follows where the layers reach, whatever their colours, so
// the alpha is the same over any background.
TEST(AlphaCaptionEffect, ABorderOfTheBackgroundsColourIsNotCutAway) {
  FontEngine engine;
  CaptionStyle style = PlainStyle(30);
  style.effect = {4, kColorWhite, 3, 3, kColorWhite, 2};
  const Bitmap overWhite = Transparent(kEffectText, style, engine);
  style.backgroundColor = Rgb(0, 0, 255);
  const Bitmap overBlue = Transparent(kEffectText, style, engine);
  ASSERT_EQ(overWhite.Width(), overBlue.Width());
  ASSERT_EQ(overWhite.Height(), overBlue.Height());
  ASSERT_EQ(overWhite.Width(), Opaque(kEffectText, style, engine).Width());
  for (int y = 0; y < overWhite.Height(); ++y)
    for (int x = 0; x < overWhite.Width(); ++x)
      ASSERT_EQ(overWhite.Row(y)[4 * x + 3], overBlue.Row(y)[4 * x + 3]) << x << "," << y;
}

}  // namespace
}  // namespace glyphary
