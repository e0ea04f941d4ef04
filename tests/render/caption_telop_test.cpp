// The テロップ style: a second border that reaches as far as both widths
// from the text and shows only beyond the first, and a fill that runs from
// the text colour at the top of each line's ink (each character's, in
// vertical text) to the second colour at its bottom.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "effect_pixels.h"

namespace glyphary {
namespace {

// Black text, a magenta border, a red outer border over white: green falls
// wherever anything covers the background, red only under the text, blue
// under the text and the outer border.
CaptionStyle TwoBorders(int inner, int outer) {
  CaptionStyle s = PlainStyle();
  s.effect.outlineWidth = inner;
  s.effect.outlineColor = Rgb(255, 0, 255);
  s.effect.outerOutlineWidth = outer;
  s.effect.outerOutlineColor = Rgb(255, 0, 0);
  return s;
}

TEST(OuterBorder, ReachesBothWidthsFromTheTextAndShowsOnlyBeyondTheFirst) {
  FontEngine engine;
  for (const auto& [inner, outer] : {std::pair{3, 6}, {0, 4}, {2, 1}}) {
    SCOPED_TRACE("borders " + std::to_string(inner) + " and " + std::to_string(outer));
    const int width = inner + outer;
    const Bitmap caption = Opaque(kEffectText, TwoBorders(inner, outer), engine);
    const Darkness text(caption, RedOf), cover(caption, GreenOf), dark(caption, BlueOf);
    const auto anyText = [&](int x, int y) { return text.At(x, y) > 0; };
    const auto strongText = [&](int x, int y) { return text.At(x, y) > 127; };
    int outerShown = 0;
    for (int y = 0; y < caption.Height(); ++y)
      for (int x = 0; x < caption.Width(); ++x) {
        if (cover.At(x, y) > 0) {
          ASSERT_LE(NearestMarked(x, y, width + 3, anyText), width + 1.5) << x << "," << y;
        }
        if (NearestMarked(x, y, width, strongText) <= width - 1) {
          ASSERT_GE(cover.At(x, y), 191) << x << "," << y;
        }
        // The outer border's own colour: blue gone where the text is not.
        if (dark.At(x, y) - text.At(x, y) > 64) {
          ++outerShown;
          ASSERT_GE(NearestMarked(x, y, inner, strongText), inner - 0.5) << x << "," << y;
        }
      }
    EXPECT_GT(outerShown, 150 * outer) << "the outer border shows round the first";
  }
}

// The fill's colour, read where the text covers a caption pixel whole.
struct FillRow {
  int y;
  TColor colour;
};

std::vector<FillRow> SolidRows(const Bitmap& b, int x0, int x1, TColor background) {
  std::vector<FillRow> rows;
  for (int y = 0; y < b.Height(); ++y) {
    // The row's middle solid pixel: a pixel whose neighbours all show ink.
    std::vector<int> solid;
    for (int x = std::max(x0, 1); x < std::min(x1, b.Width() - 1); ++x) {
      bool whole = true;
      for (int dy = -1; dy <= 1 && whole; ++dy)
        for (int dx = -1; dx <= 1 && whole; ++dx)
          whole = y + dy >= 0 && y + dy < b.Height() && b.PixelAt(x + dx, y + dy) != background;
      if (whole) solid.push_back(x);
    }
    if (!solid.empty()) rows.push_back({y, b.PixelAt(solid[solid.size() / 2], y)});
  }
  return rows;
}

// Red at the top, blue at the bottom, within a few levels, and between
// them red never rising nor blue falling.
void ExpectRedToBlue(const std::vector<FillRow>& rows) {
  ASSERT_GE(rows.size(), 20u);
  EXPECT_GE(RedOf(rows.front().colour), 243);
  EXPECT_LE(BlueOf(rows.front().colour), 12);
  EXPECT_LE(RedOf(rows.back().colour), 12);
  EXPECT_GE(BlueOf(rows.back().colour), 243);
  for (std::size_t i = 1; i < rows.size(); ++i) {
    EXPECT_LE(RedOf(rows[i].colour), RedOf(rows[i - 1].colour) + 1) << rows[i].y;
    EXPECT_GE(BlueOf(rows[i].colour), BlueOf(rows[i - 1].colour) - 1) << rows[i].y;
  }
}

CaptionStyle Gradient(CaptionLayout layout = {}) {
  CaptionStyle s = PlainStyle(80);
  s.textColor = Rgb(255, 0, 0);
  s.effect.gradient = true;
  s.effect.gradientColor = Rgb(0, 0, 255);
  s.layout = layout;
  return s;
}

TEST(GradientFill, RunsFromTheTextColourToTheSecondDownEachLine) {
  FontEngine engine;
  // Two lines of one tall square each: each runs the whole way again.
  const Bitmap b = Opaque("■\n■", Gradient({false, TextAlign::Start, 150, 0}), engine);
  const std::vector<FillRow> rows = SolidRows(b, 0, b.Width(), kColorWhite);
  std::size_t split = 1;
  while (split < rows.size() && rows[split].y == rows[split - 1].y + 1) ++split;
  ASSERT_LT(split, rows.size()) << "two lines";
  ExpectRedToBlue({rows.begin(), rows.begin() + split});
  ExpectRedToBlue({rows.begin() + split, rows.end()});
}

TEST(GradientFill, RunsDownEachCharacterInVerticalText) {
  FontEngine engine;
  const Bitmap b = Opaque("■■", Gradient({true, TextAlign::Start, 100, 0}), engine);
  const std::vector<FillRow> rows = SolidRows(b, 0, b.Width(), kColorWhite);
  std::size_t split = 1;
  while (split < rows.size() && BlueOf(rows[split].colour) + 64 > BlueOf(rows[split - 1].colour))
    ++split;
  ASSERT_LT(split, rows.size()) << "the second square starts red again";
  ExpectRedToBlue({rows.begin(), rows.begin() + split});
  ExpectRedToBlue({rows.begin() + split, rows.end()});
}

TEST(TelopStyle, WithoutItsWidthsOrFillChangesNoByte) {
  FontEngine engine;
  CaptionStyle style = PlainStyle(30);
  const Bitmap plain = Opaque(kEffectText, style, engine);
  style.effect.outerOutlineColor = Rgb(1, 2, 3);
  style.effect.gradientColor = Rgb(4, 5, 6);
  EXPECT_TRUE(SameBytes(Opaque(kEffectText, style, engine), plain));
  style.effect.outlineWidth = 2;
  const Bitmap bordered = Opaque(kEffectText, style, engine);
  style.effect.outerOutlineColor = Rgb(200, 0, 0);
  EXPECT_TRUE(SameBytes(Opaque(kEffectText, style, engine), bordered));
}

}  // namespace
}  // namespace glyphary
