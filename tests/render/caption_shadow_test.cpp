// A caption's shadow is the text's shape, or the bordered shape, moved by
// its offset in whole pixels of the caption: as sharp as the text when hard,
// spread no further than its blur when soft, with about the same ink. Each
// caption is read against itself, as captions of other sizes are reduced
// with samples a little apart.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "effect_pixels.h"
#include "render/effect.h"

namespace glyphary {
namespace {

// Black text, a green border, a magenta shadow over white: blue falls with
// the text or the border alone, the shape that casts the shadow, and green
// with the shadow too.
constexpr TColor kShadowColor = Rgb(255, 0, 255);

CaptionStyle ShadowStyle(int x, int y, int blur, int border = 0) {
  CaptionStyle s = PlainStyle();
  s.effect.shadowX = x;
  s.effect.shadowY = y;
  s.effect.shadowBlur = blur;
  s.effect.shadowColor = kShadowColor;
  s.effect.outlineWidth = border;
  s.effect.outlineColor = Rgb(0, 255, 0);
  return s;
}

// Calls use(x, y) for the pixels where the shadow alone covers the background.
template <typename Use>
void ForEachShadowPixel(const Bitmap& b, Use&& use) {
  const Darkness shape(b, BlueOf), all(b, GreenOf);
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (shape.At(x, y) == 0 && all.At(x, y) > 0) use(x, y, all.At(x, y));
}

// Where the shadow alone covers the background, its coverage is that of
// the shape at p − offset, in the same caption, within two levels: moved by
// whole pixels and as sharp as the shape. Returns how many pixels it covers.
// (A caption whose working image has an odd side is reduced by a little
// more than half, so that samples drift apart by a few hundredths of a
// pixel over a pixel: small offsets keep that within the two levels.)
int ExpectShapeMoved(const Bitmap& caption, int dx, int dy) {
  const Darkness shape(caption, BlueOf), all(caption, GreenOf);
  int shaded = 0, compared = 0;
  for (int y = 0; y < caption.Height(); ++y)
    for (int x = 0; x < caption.Width(); ++x) {
      if (shape.At(x, y) != 0) continue;
      ++compared;
      EXPECT_NEAR(all.At(x, y), shape.At(x - dx, y - dy), 2) << x << "," << y;
      shaded += all.At(x, y) > 0;
    }
  EXPECT_GT(compared, caption.Width() * caption.Height() / 3);
  return shaded;
}

TEST(CaptionShadow, HardIsTheTextMovedByItsOffset) {
  FontEngine engine;
  for (const auto& [dx, dy] : {std::pair{3, 2}, {1, 5}, {6, 0}, {0, 1}}) {
    SCOPED_TRACE(std::to_string(dx) + "," + std::to_string(dy));
    const Bitmap caption = Opaque(kEffectText, ShadowStyle(dx, dy, 0), engine);
    EXPECT_GT(ExpectShapeMoved(caption, dx, dy), 100 * (dx + dy));
  }
}

TEST(CaptionShadow, UnderABorderIsTheBorderedShapeMoved) {
  FontEngine engine;
  for (const int border : {1, 4}) {
    const Bitmap caption = Opaque(kEffectText, ShadowStyle(4, 3, 0, border), engine);
    EXPECT_GT(ExpectShapeMoved(caption, 4, 3), 1000) << border;
  }
}

TEST(CaptionShadow, SoftSpreadsAsFarAsItsBlurAndNoFurther) {
  FontEngine engine;
  constexpr int kOffset = 5;
  for (const int blur : {1, 3, 10}) {
    SCOPED_TRACE("blur " + std::to_string(blur));
    const Bitmap caption = Opaque(kEffectText, ShadowStyle(kOffset, kOffset, blur), engine);
    const Darkness shape(caption, BlueOf);
    const auto hard = [&](int x, int y) { return shape.At(x - kOffset, y - kOffset) > 0; };
    int farthest = 0;
    ForEachShadowPixel(caption, [&](int x, int y, int) {
      const int distance = NearestMarkedSquare(x, y, blur + 2, hard);
      ASSERT_LE(distance, blur + 1) << x << "," << y;
      farthest = std::max(farthest, distance);
    });
    // The last steps of the spread round to nothing.
    EXPECT_GE(farthest, blur - 1) << "the blur spreads the shadow";
  }
}

// Bars whose shadow falls clear of them, so that no ink hides beneath them.
TEST(CaptionShadow, SoftKeepsTheInkOfTheHardShadow) {
  FontEngine engine;
  const auto ink = [&](int blur) {
    const Bitmap caption = Opaque("ー ー ー ー", ShadowStyle(0, kMaxShadowOffset, blur), engine);
    long sum = 0;
    ForEachShadowPixel(caption, [&](int, int, int cover) { sum += cover; });
    return sum;
  };
  const long hard = ink(0);
  ASSERT_GT(hard, 255 * 300);
  for (const int blur : {2, 5, kMaxShadowBlur})
    EXPECT_NEAR(double(ink(blur)) / hard, 1.0, 0.03) << blur;
}

// The soft shadow as its definition reads, in exact arithmetic: the shape
// moved, then three box means across and three down, their radii adding up
// to the reach, the larger last, nothing counted from outside the layer.
std::vector<double> ReferenceShadow(const AlphaLayer& shape, const EffectReach& reach) {
  const int w = shape.width, h = shape.height;
  std::vector<double> a(std::size_t(w) * h, 0.0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int fx = x - reach.shadowX, fy = y - reach.shadowY;
      if (fx >= 0 && fx < w && fy >= 0 && fy < h) a[std::size_t(y) * w + x] = shape.Row(fy)[fx];
    }
  const int first = reach.blur / 3, second = (reach.blur - first) / 2;
  const int radii[] = {first, second, reach.blur - first - second};
  for (const bool across : {true, false})
    for (const int r : radii) {
      std::vector<double> out(a.size(), 0.0);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          double sum = 0;
          for (int d = -r; d <= r; ++d) {
            const int sx = across ? x + d : x, sy = across ? y : y + d;
            if (sx >= 0 && sx < w && sy >= 0 && sy < h) sum += a[std::size_t(sy) * w + sx];
          }
          out[std::size_t(y) * w + x] = sum / (2 * r + 1);
        }
      a = std::move(out);
    }
  return a;
}

// A shape inked to its edges, with exactly the shadow's reach of room round
// where it moves to: the first and last rows and columns the blur reads hold
// ink, so a row or column counted twice, or one left out, shows.
TEST(ShadowLayer, IsTheShapeMovedAndBlurredByThreeBoxesWithExactlyItsReachOfRoom) {
  std::mt19937 random(5);
  for (const auto& [dx, dy, blur] :
       {std::tuple{4, 2, 3}, {-6, 0, 2}, {0, -4, 6}, {2, 2, 10}, {-40, 40, 20}, {1, -1, 1}}) {
    SCOPED_TRACE(std::to_string(dx) + "," + std::to_string(dy) + " blur " + std::to_string(blur));
    const int shapeW = 13, shapeH = 9;
    AlphaLayer shape(shapeW + 2 * blur + std::abs(dx), shapeH + 2 * blur + std::abs(dy));
    const int left = blur + std::max(0, -dx), top = blur + std::max(0, -dy);
    for (int y = 0; y < shapeH; ++y)
      for (int x = 0; x < shapeW; ++x)
        shape.Row(top + y)[left + x] = std::uint8_t(1 + random() % 255);
    EffectReach reach;
    reach.shadowX = dx;
    reach.shadowY = dy;
    reach.blur = blur;
    const AlphaLayer shadow = ShadowOf(shape, reach);
    const std::vector<double> expected = ReferenceShadow(shape, reach);
    ASSERT_EQ(shadow.width, shape.width);
    ASSERT_EQ(shadow.height, shape.height);
    // Six rounded means stay within a level of the exact ones.
    for (int y = 0; y < shadow.height; ++y)
      for (int x = 0; x < shadow.width; ++x)
        ASSERT_NEAR(shadow.Row(y)[x], expected[std::size_t(y) * shadow.width + x], 1)
            << x << "," << y;
  }
}

}  // namespace
}  // namespace glyphary
