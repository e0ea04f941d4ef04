#include <gtest/gtest.h>

#include <cstring>

#include "render/caption.h"
#include "render/render.h"

namespace glyphary {
namespace {

CaptionStyle Style(int points, TColor text = kColorBlack, TColor background = kColorWhite) {
  CaptionStyle s;
  s.pointSize = points;
  s.textColor = text;
  s.backgroundColor = background;
  return s;
}

// The working width W and height H a caption starts from.
std::pair<int, int> WorkingSize(const std::string& text, const CaptionStyle& style,
                                FontEngine& engine) {
  const FontDescription f = WorkingFont(style, engine);
  const int lineH = engine.Extent(f, "gM").cy;
  return {2 * engine.Extent(f, text).cx, lineH + lineH / 2};
}

bool RowIs(const Bitmap& b, int y, TColor c) {
  for (int x = 0; x < b.Width(); ++x)
    if (b.PixelAt(x, y) != c) return false;
  return true;
}
bool ColumnIs(const Bitmap& b, int x, TColor c) {
  for (int y = 0; y < b.Height(); ++y)
    if (b.PixelAt(x, y) != c) return false;
  return true;
}
bool SameImage(const Bitmap& a, const Bitmap& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() &&
         std::memcmp(a.Bits(), b.Bits(), a.ImageSize()) == 0;
}

TEST(WorkingCaption, InkSitsInsideTheFixedMargins) {
  FontEngine engine;
  Bitmap b;
  RenderWorkingCaption(b, "gM", Style(25), engine);
  EXPECT_EQ(b.BitsPerPixel(), 32);
  EXPECT_TRUE(RowIs(b, 0, kColorWhite) && RowIs(b, 1, kColorWhite));
  EXPECT_FALSE(RowIs(b, 2, kColorWhite));
  EXPECT_TRUE(RowIs(b, b.Height() - 1, kColorWhite));
  EXPECT_FALSE(RowIs(b, b.Height() - 2, kColorWhite));
  for (int x = b.Width() - 3; x < b.Width(); ++x) EXPECT_TRUE(ColumnIs(b, x, kColorWhite));
  EXPECT_FALSE(ColumnIs(b, b.Width() - 4, kColorWhite));
}

// Accents above the ascent, an italic j's tail left of the origin: the
// working image grows to hold them and keeps its first row and column clear.
TEST(WorkingCaption, InkBeyondTheCellGetsRoomAndAClearFirstRowAndColumn) {
  FontEngine engine;
  for (const char* text : {"ǺÉ", "jaf"})
    for (int points : {8, 25, 61}) {
      CaptionStyle style = Style(points, Rgb(120, 0, 40), Rgb(9, 200, 30));
      style.faceName = "DejaVu Serif";
      style.italic = text[0] == 'j';
      Bitmap b;
      RenderWorkingCaption(b, text, style, engine);
      EXPECT_TRUE(RowIs(b, 0, Rgb(9, 200, 30)) && RowIs(b, 1, Rgb(9, 200, 30)))
          << text << " " << points;
      EXPECT_FALSE(RowIs(b, 2, Rgb(9, 200, 30))) << text << " " << points;
      EXPECT_TRUE(ColumnIs(b, 0, Rgb(9, 200, 30))) << text << " " << points;
    }
}

TEST(WorkingCaption, EmptyAndBlankTextsGiveBackgroundOfFixedSizes) {
  FontEngine engine;
  const CaptionStyle style = Style(25, kColorBlack, Rgb(1, 2, 3));
  Bitmap b;
  RenderWorkingCaption(b, "", style, engine);
  EXPECT_EQ(b.Width(), 6);
  EXPECT_EQ(b.Height(), WorkingSize("", style, engine).second + 4);
  const auto [w, h] = WorkingSize("   ", style, engine);
  ASSERT_GT(w, 0);
  RenderWorkingCaption(b, "   ", style, engine);
  EXPECT_EQ(b.Width(), w + 5);
  EXPECT_EQ(b.Height(), h + 4);
  for (int y = 0; y < b.Height(); ++y) EXPECT_TRUE(RowIs(b, y, Rgb(1, 2, 3)));
}

TEST(WorkingCaption, ASystemColourBackgroundIsFilledResolvedButCropsNothing) {
  FontEngine engine;
  const CaptionStyle style = Style(20, kColorBlack, 0x8000000F);
  const auto [w, h] = WorkingSize("Hb", style, engine);
  Bitmap b;
  RenderWorkingCaption(b, "Hb", style, engine);
  EXPECT_EQ(b.Width(), w + 4);
  EXPECT_EQ(b.Height(), h + 3);
  EXPECT_EQ(b.PixelAt(b.Width() - 1, b.Height() - 1), ColorToRGB(0x8000000F));
}

TEST(WorkingCaption, AReusedBitmapGivesTheSameResultAsANewOne) {
  FontEngine engine;
  const CaptionStyle style = Style(18, Rgb(200, 0, 0), Rgb(0, 0, 80));
  Bitmap fresh, reused(33, 17, 8);
  RenderWorkingCaption(fresh, "再利用 Reuse", style, engine);
  reused.SetPalette(std::vector<PaletteEntry>(256, PaletteEntry{9, 9, 9, 0}));
  reused.SetBrushColor(Rgb(0, 255, 0));
  RenderWorkingCaption(reused, "再利用 Reuse", style, engine);
  EXPECT_TRUE(SameImage(reused, fresh));
}

TEST(WorkingCaption, DefaultIsMeasuredAsJapaneseButDrawnWithoutTheHint) {
  FontEngine engine;
  CaptionStyle style = Style(20);
  style.faceName = "Default";
  const FontDescription font = WorkingFont(style, engine);
  EXPECT_TRUE(font.shiftJis);
  EXPECT_FALSE(FontEngine::IsShiftJisFont(font.faceName));
  style.faceName = "";
  EXPECT_EQ(WorkingFont(style, engine).faceName, kDefaultFaceName);
  EXPECT_EQ(engine.UnknownGlyphs(ScratchFont(font, true, engine), "今日の天気は晴れ、ｶﾀｶﾅ①"), 0);
}

TEST(WorkingCaption, ALargeCaptionIsDrawnInBandsAndTilesWithoutSeams) {
  FontEngine engine;
  // At 400 points the scratch of one character needs more than one band.
  Bitmap banded, whole;
  RenderWorkingCaption(banded, "大", Style(400), engine);
  RenderWorkingCaption(whole, "大", Style(400), engine, ScratchLimits{32766, 1u << 30});
  EXPECT_GT(banded.Height(), 700);
  EXPECT_TRUE(SameImage(banded, whole));
  // Tiles of 100 columns and single row pairs, also of emboldened glyphs,
  // whose ink reaches past their metric boxes.
  for (bool bold : {false, true}) {
    CaptionStyle style = Style(30);
    style.bold = bold;
    RenderWorkingCaption(banded, "帯 Band", style, engine, ScratchLimits{100, 800});
    RenderWorkingCaption(whole, "帯 Band", style, engine);
    EXPECT_TRUE(SameImage(banded, whole)) << "bold " << bold;
  }
}

TEST(WorkingCaption, AHugeSizeOrTextIsRefusedWithAMessage) {
  FontEngine engine;
  Bitmap b;
  for (int points : {150000, -1000000, 2147483647, -2147483647 - 1}) {
    try {
      RenderWorkingCaption(b, "A", Style(points), engine);
      ADD_FAILURE() << points;
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), kCaptionTooLarge);
    }
  }
  EXPECT_THROW(RenderWorkingCaption(b, std::string(100000, 'W'), Style(200), engine), Error);
  EXPECT_THROW(RenderWorkingCaption(b, std::string(300, 'W'), Style(5000), engine), Error);
}

TEST(WorkingCaption, ALongTextIsRefusedByItsMeasuredWidthNotByItsLength) {
  FontEngine engine;
  Bitmap b;
  RenderWorkingCaption(b, std::string(4000, 'i'), Style(25), engine);
  EXPECT_GT(b.Width(), 4000 * 6);
  // 20,000 "M" at 25 points need a working image over a million pixels wide.
  EXPECT_THROW(RenderWorkingCaption(b, std::string(20000, 'M'), Style(25), engine), Error);
}

TEST(RenderCaption, HalvesTheTrimmedImageInto24Bits) {
  FontEngine engine;
  const CaptionStyle style = Style(25, Rgb(0, 0, 128), Rgb(255, 255, 200));
  for (const std::string text : {"今日の天気は晴れ Sunny Day 2024", "", "i"}) {
    Bitmap working, caption(5, 5, 8);
    RenderWorkingCaption(working, text, style, engine);
    RenderCaption(caption, text, style, engine);
    EXPECT_EQ(caption.BitsPerPixel(), 24);
    EXPECT_EQ(caption.Width(), working.Width() / 2) << text;
    EXPECT_EQ(caption.Height(), working.Height() / 2) << text;
    EXPECT_EQ(caption.PixelAt(caption.Width() - 1, 0), Rgb(255, 255, 200));
    // Pixels a later resize adds take the background, as the trim's did.
    EXPECT_EQ(caption.BrushColor(), Rgb(255, 255, 200));
  }
  Bitmap zero, negative;  // the engine's default height; a cell height
  RenderCaption(zero, "Ab", Style(0), engine);
  RenderCaption(negative, "Ab", Style(-10), engine);
  EXPECT_GT(zero.Width(), 2);
  EXPECT_GT(negative.Width(), 2);
}

}  // namespace
}  // namespace glyphary
