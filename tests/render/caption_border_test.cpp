// A caption's border reaches as far from the text as its width, alike in
// every direction, measured pixel by pixel on the finished caption; and the
// border layer itself takes each pixel from its nearest inked pixel.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "effect_pixels.h"
#include "render/effect.h"

namespace glyphary {
namespace {

// Black text over a red border over white: only the text lowers red, and
// green falls with whatever covers the background, border or text.
CaptionStyle BorderStyle(int width) {
  CaptionStyle s = PlainStyle();
  s.effect.outlineWidth = width;
  s.effect.outlineColor = Rgb(255, 0, 0);
  return s;
}

TEST(CaptionBorder, ReachesItsWidthFromTheTextAndNoFurther) {
  FontEngine engine;
  for (const int width : {1, 3, 8}) {
    SCOPED_TRACE("border " + std::to_string(width));
    const Bitmap caption = Opaque(kEffectText, BorderStyle(width), engine);
    const Darkness text(caption, RedOf), cover(caption, GreenOf);
    const auto anyText = [&](int x, int y) { return text.At(x, y) > 0; };
    const auto strongText = [&](int x, int y) { return text.At(x, y) > 127; };
    const int reach = width + 3;
    int bordered = 0;
    for (int y = 0; y < caption.Height(); ++y)
      for (int x = 0; x < caption.Width(); ++x) {
        if (cover.At(x, y) > 0) {
          ASSERT_LE(NearestMarked(x, y, reach, anyText), width + 1.5) << x << "," << y;
          bordered += text.At(x, y) == 0;
        }
        // Whole pixels within the width of solid text are fully covered.
        if (NearestMarked(x, y, width, strongText) <= width - 1) {
          ASSERT_GE(cover.At(x, y), 191) << x << "," << y;
        }
      }
    EXPECT_GT(bordered, 150 * width) << "a border shows round the text";
  }
}

// Round joins: past a square's corner the border reaches its width along
// the diagonal, where a square widening would reach √2 times as far.
TEST(CaptionBorder, IsRoundPastACorner) {
  FontEngine engine;
  constexpr int kWidth = 8;
  const Bitmap caption = Opaque("■", BorderStyle(kWidth), engine);
  const Darkness text(caption, RedOf), cover(caption, GreenOf);
  // The square's bottom-right corner: its last solid column and row.
  int right = -1, bottom = -1;
  for (int y = 0; y < caption.Height(); ++y)
    for (int x = 0; x < caption.Width(); ++x)
      if (text.At(x, y) > 127) right = std::max(right, x), bottom = std::max(bottom, y);
  ASSERT_GE(right, 10);
  ASSERT_GT(text.At(right - 10, bottom - 10), 250) << "solid inside the corner";
  // Along the axes the border reaches kWidth; find how far it reaches diagonally.
  int along = 0;
  while (cover.At(right + along + 1, bottom - 10) > 0) ++along;
  int diagonal = 0;
  while (cover.At(right + diagonal + 1, bottom + diagonal + 1) > 0) ++diagonal;
  EXPECT_NEAR(along, kWidth, 1);
  EXPECT_NEAR(diagonal * std::sqrt(2.0), kWidth, 1.5);
}

// The border layer on random shapes against the nearest inked pixel found
// by looking at every one: coverage a at distance d gives R + a − d
// (255 × that, clamped), where several pixels lie nearest, any of them.
struct Seed {
  int x, y, alpha;
};

// What the border shows at distance² `square` from a seed: 255 × (R + a − d), clamped.
int CoverAt(long square, int alpha, int radius) {
  const double d = std::sqrt(double(square));
  return int(std::lround(std::clamp(radius + alpha / 255.0 - d, 0.0, 1.0) * 255));
}

TEST(BorderLayer, EveryPixelTakesItsCoverFromItsNearestInkedPixel) {
  std::mt19937 random(17);
  for (const int radius : {1, 2, 6, 40}) {
    AlphaLayer text(150, 90);
    std::vector<Seed> seeds;
    for (int i = 0; i < 60; ++i) {
      const Seed s{int(random() % 150), int(random() % 90), int(1 + random() % 255)};
      if (text.Row(s.y)[s.x] != 0) continue;
      text.Row(s.y)[s.x] = std::uint8_t(s.alpha);
      seeds.push_back(s);
    }
    const AlphaLayer outline = OutlineOf(text, radius);
    for (int y = 0; y < text.height; ++y)
      for (int x = 0; x < text.width; ++x) {
        const auto square = [&](const Seed& s) {
          return long(s.x - x) * (s.x - x) + long(s.y - y) * (s.y - y);
        };
        long nearest = 1L << 40;
        for (const Seed& s : seeds) nearest = std::min(nearest, square(s));
        const int got = outline.Row(y)[x];
        bool matched = false;
        for (const Seed& s : seeds)
          if (square(s) == nearest)
            matched |= std::abs(got - CoverAt(nearest, s.alpha, radius)) <= 1;
        ASSERT_TRUE(matched) << "radius " << radius << " at " << x << "," << y << ": " << got;
        ASSERT_GE(got, text.Row(y)[x]) << "never below the text";
      }
  }
}

}  // namespace
}  // namespace glyphary
