// Vertical text and several lines read as a Japanese reader expects: the
// order of characters and columns, the vertical forms of punctuation, the
// alignment, the spacing and the breaks.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "render/caption.h"
#include "render/render.h"
#include "same_pixels.h"

namespace glyphary {
namespace {

CaptionStyle Style(int points, CaptionLayout layout, const std::string& face = "IPAPGothic") {
  CaptionStyle s;
  s.faceName = face;
  s.pointSize = points;
  s.layout = layout;
  return s;
}

CaptionLayout Vertical(TextAlign align = TextAlign::Start) {
  return {true, align, 100, 0};
}

Bitmap Caption(const std::string& text, const CaptionStyle& style, FontEngine& engine) {
  Bitmap b;
  RenderCaption(b, text, style, engine);
  return b;
}

// The ink of the working coverage, where it lies against the text's cell.
struct CellInk {
  double left = 1e9, top = 1e9, right = -1e9, bottom = -1e9;
  double sumX = 0, sumY = 0, mass = 0;
  double CentreX() const { return sumX / mass; }
  double CentreY() const { return sumY / mass; }
};

CellInk InkInCell(const std::string& text, const CaptionStyle& style, FontEngine& engine) {
  const WorkingCoverage working = DrawWorkingCoverage(text, style, engine);
  const Coverage& c = working.coverage;
  CellInk ink;
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) {
      const double dark = 255 - c.Row(y)[x];
      if (dark == 0) continue;
      const double cx = c.left + x, cy = c.top + y;
      ink.left = std::min(ink.left, cx);
      ink.right = std::max(ink.right, cx + 1);
      ink.top = std::min(ink.top, cy);
      ink.bottom = std::max(ink.bottom, cy + 1);
      ink.sumX += dark * cx;
      ink.sumY += dark * cy;
      ink.mass += dark;
    }
  return ink;
}

TEST(VerticalText, RunsDownItsColumnsAndItsColumnsRightToLeft) {
  FontEngine engine;
  const CaptionStyle style = Style(30, Vertical());
  // The square first, then second: one column.
  EXPECT_LT(InkInCell("■　", style, engine).bottom, InkInCell("　■", style, engine).top);
  // The square in the first column, then in the second.
  EXPECT_GT(InkInCell("■\n　", style, engine).left, InkInCell("　\n■", style, engine).right);
}

TEST(VerticalText, PutsCommaAndStopInTheUpperRightOfTheirCell) {
  FontEngine engine;
  for (const bool vertical : {true, false}) {
    CaptionLayout layout;
    layout.vertical = vertical;
    const CaptionStyle style = Style(40, layout);
    // A full square's ink stands for its cell.
    const CellInk cell = InkInCell("口", style, engine);
    for (const char* mark : {"、", "。"}) {
      const CellInk ink = InkInCell(mark, style, engine);
      const bool upperRight = ink.CentreX() > (cell.left + cell.right) / 2 &&
                              ink.CentreY() < (cell.top + cell.bottom) / 2;
      EXPECT_EQ(upperRight, vertical) << mark << (vertical ? " vertical" : " horizontal");
    }
  }
}

TEST(VerticalText, UnderlinesOnTheRightOfTheColumn) {
  FontEngine engine;
  CaptionStyle style = Style(30, Vertical());
  const CellInk plain = InkInCell("口口", style, engine);
  style.underline = true;
  const CellInk lined = InkInCell("口口", style, engine);
  // A line beside the whole column, to its right.
  EXPECT_EQ(lined.left, plain.left);
  EXPECT_GT(lined.right, plain.right);
  EXPECT_LT(lined.top, plain.top);
  EXPECT_GT(lined.bottom, plain.bottom);
}

// Each line's (column's) ink, in caption pixels along the lines: the bands
// of ink between blank rows (columns).
struct Band {
  int from = 0, to = 0;       // across the lines
  double start = 0, end = 0;  // along them: first and past-last inked pixel
};

std::vector<Band> Bands(const Bitmap& b, bool vertical) {
  const int across = vertical ? b.Width() : b.Height(), along = vertical ? b.Height() : b.Width();
  const auto inked = [&](int a, int l) {
    return (vertical ? b.PixelAt(a, l) : b.PixelAt(l, a)) != kColorWhite;
  };
  std::vector<Band> bands;
  bool inBand = false;
  for (int a = 0; a < across; ++a) {
    int first = along, last = -1;
    for (int l = 0; l < along; ++l)
      if (inked(a, l)) first = std::min(first, l), last = l;
    if (last < 0) {
      inBand = false;
      continue;
    }
    if (!inBand) bands.push_back({a, a, double(first), double(last + 1)});
    inBand = true;
    Band& band = bands.back();
    band.to = a + 1;
    band.start = std::min(band.start, double(first));
    band.end = std::max(band.end, double(last + 1));
  }
  return bands;
}

TEST(SeveralLines, AreAlignedToStartCentreOrEndOfTheLongest) {
  FontEngine engine;
  struct Case {
    bool vertical;
    TextAlign align;
  };
  for (const Case c :
       {Case{false, TextAlign::Start}, Case{false, TextAlign::Center}, Case{false, TextAlign::End},
        Case{true, TextAlign::Center}, Case{true, TextAlign::End}}) {
    SCOPED_TRACE(std::string(c.vertical ? "vertical " : "horizontal ") +
                 std::to_string(int(c.align)));
    const CaptionStyle style = Style(25, {c.vertical, c.align, 150, 0});
    const std::vector<Band> lines =
        Bands(Caption("口\n口口口口口\n口口", style, engine), c.vertical);
    ASSERT_EQ(lines.size(), 3u);
    for (const Band& line : lines) {
      const Band& longest = lines[1];
      const double at = c.align == TextAlign::Start ? line.start - longest.start
                        : c.align == TextAlign::Center
                            ? (line.start + line.end) / 2 - (longest.start + longest.end) / 2
                            : line.end - longest.end;
      EXPECT_LE(std::abs(at), 1);
    }
  }
}

TEST(SeveralLines, KeepTheHeightOfAnEmptyLineAndReadEveryLineEnd) {
  FontEngine engine;
  const CaptionStyle style = Style(25, {});
  const Bitmap three = Caption("あ\nい\nい", style, engine);
  const Bitmap gap = Caption("あ\n\nい", style, engine);
  const std::vector<Band> threeLines = Bands(three, false), twoLines = Bands(gap, false);
  ASSERT_EQ(threeLines.size(), 3u);
  ASSERT_EQ(twoLines.size(), 2u);
  EXPECT_EQ(twoLines[1].from, threeLines[2].from);
  // CR LF and CR break a line as LF does.
  EXPECT_TRUE(SameBytes(Caption("あ\r\n\rい", style, engine), gap));
}

TEST(SeveralLines, StandAtTheirSpacingAndLettersAtTheirsInCaptionPixels) {
  FontEngine engine;
  const std::vector<Band> natural = Bands(Caption("口\n口", Style(25, {}), engine), false);
  const std::vector<Band> doubled =
      Bands(Caption("口\n口", Style(25, {false, TextAlign::Start, 200, 0}), engine), false);
  ASSERT_EQ(natural.size(), 2u);
  ASSERT_EQ(doubled.size(), 2u);
  const int pitch = natural[1].from - natural[0].from;
  EXPECT_NEAR(doubled[1].from - doubled[0].from, 2 * pitch, 1);
  // Four squares, three gaps of 7 pixels more.
  const Bitmap tight = Caption("口口口口", Style(25, {}), engine);
  const Bitmap spaced = Caption("口口口口", Style(25, {false, TextAlign::Start, 100, 7}), engine);
  EXPECT_NEAR(Bands(spaced, false)[0].end - Bands(tight, false)[0].end, 3 * 7, 1);
}

TEST(SeveralLines, LeaveOneLineAsItWasWhateverTheirAlignmentAndSpacing) {
  FontEngine engine;
  const Bitmap plain = Caption("一行 gyj", Style(25, {}), engine);
  EXPECT_TRUE(
      SameBytes(Caption("一行 gyj", Style(25, {false, TextAlign::End, 250, 0}), engine), plain));
}

}  // namespace
}  // namespace glyphary
