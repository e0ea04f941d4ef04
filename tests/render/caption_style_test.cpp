// Each style flag and face name changes the caption the way a user expects.
#include <gtest/gtest.h>

#include <cstring>

#include "render/caption.h"
#include "render/render.h"

namespace glyphary {
namespace {

CaptionStyle Style(int points, const std::string& face = kDefaultFaceName) {
  CaptionStyle s;
  s.pointSize = points;
  s.faceName = face;
  return s;
}

Bitmap Working(const std::string& text, const CaptionStyle& style, FontEngine& engine) {
  Bitmap b;
  RenderWorkingCaption(b, text, style, engine);
  return b;
}

Bitmap Caption(const std::string& text, const CaptionStyle& style, FontEngine& engine) {
  Bitmap b;
  RenderCaption(b, text, style, engine);
  return b;
}

bool SameImage(const Bitmap& a, const Bitmap& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() &&
         std::memcmp(a.Bits(), b.Bits(), a.ImageSize()) == 0;
}

bool Inked(const Bitmap& b, int x, int y) {
  return b.PixelAt(x, y) != kColorWhite;
}

// Column 0 is left out: the trim keeps it unshifted.
int LastInkRow(const Bitmap& b) {
  for (int y = b.Height() - 1; y >= 0; --y)
    for (int x = 1; x < b.Width(); ++x)
      if (Inked(b, x, y)) return y;
  return -1;
}

// A row inked from near the left edge to the last ink column, which the trim
// puts four columns from the right edge. The underline starts at the text's
// origin, column 1, or two columns further where a glyph reaches left of it.
bool HasFullWidthRow(const Bitmap& b, int y) {
  int x = 1;
  while (x < 4 && !Inked(b, x, y)) ++x;
  for (; x <= b.Width() - 4; ++x)
    if (!Inked(b, x, y)) return false;
  return true;
}

// Total darkness of the ink.
long InkSum(const Bitmap& b) {
  long sum = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) sum += 255 - long(b.PixelAt(x, y) & 0xFF);
  return sum;
}

// Mean ink column of the rows [from, to).
double InkCentre(const Bitmap& b, int from, int to) {
  double weighted = 0, total = 0;
  for (int y = from; y < to; ++y)
    for (int x = 0; x < b.Width(); ++x) {
      const double ink = 255 - double(b.PixelAt(x, y) & 0xFF);
      weighted += ink * x;
      total += ink;
    }
  return total > 0 ? weighted / total : 0;
}

TEST(Underline, IsARowBelowTheTextUnderItsWholeWidthAtEverySizeAndFace) {
  FontEngine engine;
  for (const char* face : {"ＭＳ Ｐゴシック", "ＭＳ 明朝", "DejaVu Sans"})
    for (int points = 1; points <= 72; ++points) {
      CaptionStyle style = Style(points, face);
      const Bitmap plain = Working("AA  ", style, engine);
      style.underline = true;
      const Bitmap underlined = Working("AA  ", style, engine);
      const int row = LastInkRow(underlined);
      // The trailing spaces are underlined too: the ink is wider than "AA".
      EXPECT_GT(underlined.Width(), plain.Width()) << face << " " << points;
      EXPECT_TRUE(HasFullWidthRow(underlined, row)) << face << " " << points;
      // At small sizes it may share a row with the foot of the letters.
      EXPECT_GE(row, LastInkRow(plain)) << face << " " << points;
    }
}

TEST(Underline, MarksTextOfSpacesOnlyAndLeavesCaptionsWithoutItAlone) {
  FontEngine engine;
  CaptionStyle style = Style(25);
  const Bitmap plain = Working("   ", style, engine);
  EXPECT_EQ(LastInkRow(plain), -1);
  style.underline = true;
  const Bitmap underlined = Working("   ", style, engine);
  ASSERT_GE(LastInkRow(underlined), 2);
  EXPECT_TRUE(HasFullWidthRow(underlined, 2));  // the trim puts the first ink row on row 2
  // Without ink nothing is cropped; the underline ends where the spaces do,
  // in the last column the scratch reaches, plus the trim's four.
  const FontDescription working = WorkingFont(style, engine);
  EXPECT_EQ(plain.Width(), 2 * engine.Extent(working, "   ").cx + 5);
  const int scratchAdvance = engine.Extent(ScratchFont(working, true, engine), "   ").cx;
  EXPECT_EQ(underlined.Width(), scratchAdvance / 2 + 4);
}

TEST(CaptionStyle, ItalicLeansTheTopOfTheInkRightAndBoldDarkensIt) {
  FontEngine engine;
  const std::string text = "■l";
  const Bitmap plain = Working(text, Style(40), engine);
  CaptionStyle style = Style(40);
  style.italic = true;
  const Bitmap italic = Working(text, style, engine);
  style = Style(40);
  style.bold = true;
  const Bitmap bold = Working(text, style, engine);

  const auto lean = [](const Bitmap& b) {
    const int last = LastInkRow(b), quarter = (last - 2) / 4;
    return InkCentre(b, 2, 2 + quarter) - InkCentre(b, last - quarter, last + 1);
  };
  EXPECT_NEAR(lean(plain), 0, 1);
  EXPECT_GT(lean(italic), 5);
  EXPECT_NEAR(lean(bold), 0, 1);
  EXPECT_GT(InkSum(bold), InkSum(plain) * 11 / 10);
  EXPECT_NEAR(double(InkSum(italic)), double(InkSum(plain)), InkSum(plain) * 0.05);
}

TEST(CaptionStyle, DefaultInAnyCaseAndAnEmptyNameDrawTheDefaultFace) {
  FontEngine engine;
  const std::string text = "Default 既定 Ag";
  const Bitmap expected = Caption(text, Style(30), engine);
  for (const char* name : {"Default", "default", "DEFAULT", ""})
    EXPECT_TRUE(SameImage(Caption(text, Style(30, name), engine), expected)) << name;
  for (const char* name : {"No Such Face", "Defaults", "DejaVu Serif"})
    EXPECT_FALSE(SameImage(Caption(text, Style(30, name), engine), expected)) << name;
}

}  // namespace
}  // namespace glyphary
