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

// The working height H and width W that a caption starts from.
struct Working {
  int w, h;
};
Working WorkingSize(const std::string& text, const CaptionStyle& style, FontEngine& engine) {
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

TEST(WorkingCaption, InkSitsInsideTheFixedMargins) {
  FontEngine engine;
  Bitmap b;
  RenderWorkingCaption(b, "gM", Style(25), engine);
  EXPECT_EQ(b.BitsPerPixel(), 32);
  EXPECT_TRUE(RowIs(b, 0, kColorWhite));
  EXPECT_TRUE(RowIs(b, 1, kColorWhite));
  EXPECT_FALSE(RowIs(b, 2, kColorWhite));
  EXPECT_TRUE(RowIs(b, b.Height() - 1, kColorWhite));
  EXPECT_FALSE(RowIs(b, b.Height() - 2, kColorWhite));
  for (int x = b.Width() - 3; x < b.Width(); ++x) EXPECT_TRUE(ColumnIs(b, x, kColorWhite));
  EXPECT_FALSE(ColumnIs(b, b.Width() - 4, kColorWhite));
  EXPECT_TRUE(ColumnIs(b, 0, kColorWhite));
  // Text of 50 points working size: about a 67-pixel line.
  EXPECT_GT(b.Height(), 50);
  EXPECT_LT(b.Height(), 100);
}

TEST(WorkingCaption, MovesTheInkOneColumnRight) {
  FontEngine engine;
  const CaptionStyle style = Style(25);
  const FontDescription font = WorkingFont(style, engine);
  const Working size = WorkingSize("M", style, engine);
  Bitmap raw(size.w, size.h, 32);
  DrawAntialiasedText(raw, 0, 0, font, "M", true, engine);
  int firstInk = 0;
  while (ColumnIs(raw, firstInk, kColorWhite)) ++firstInk;
  Bitmap trimmed;
  RenderWorkingCaption(trimmed, "M", style, engine);
  EXPECT_TRUE(ColumnIs(trimmed, firstInk, kColorWhite));
  EXPECT_FALSE(ColumnIs(trimmed, firstInk + 1, kColorWhite));
}

TEST(WorkingCaption, EmptyTextGivesSixColumnsOfBackground) {
  FontEngine engine;
  const CaptionStyle style = Style(25, kColorBlack, Rgb(1, 2, 3));
  const Working size = WorkingSize("", style, engine);
  Bitmap b;
  RenderWorkingCaption(b, "", style, engine);
  EXPECT_EQ(b.Width(), 6);
  EXPECT_EQ(b.Height(), size.h + 4);
  for (int y = 0; y < b.Height(); ++y) EXPECT_TRUE(RowIs(b, y, Rgb(1, 2, 3)));
}

TEST(WorkingCaption, SpacesAloneHaveNoInk) {
  FontEngine engine;
  const CaptionStyle style = Style(30);
  const Working size = WorkingSize("   ", style, engine);
  ASSERT_GT(size.w, 0);
  Bitmap b;
  RenderWorkingCaption(b, "   ", style, engine);
  EXPECT_EQ(b.Width(), size.w + 5);
  EXPECT_EQ(b.Height(), size.h + 4);
  for (int y = 0; y < b.Height(); ++y) EXPECT_TRUE(RowIs(b, y, kColorWhite));
}

TEST(WorkingCaption, ASystemColourBackgroundIsFilledResolvedButCropsNothing) {
  FontEngine engine;
  constexpr TColor kButtonFace = 0x8000000F;
  const CaptionStyle style = Style(20, kColorBlack, kButtonFace);
  const Working size = WorkingSize("Ab", style, engine);
  Bitmap b;
  RenderWorkingCaption(b, "Ab", style, engine);
  EXPECT_EQ(b.Width(), size.w + 4);
  EXPECT_EQ(b.Height(), size.h + 3);
  EXPECT_EQ(b.PixelAt(b.Width() - 1, b.Height() - 1), ColorToRGB(kButtonFace));
}

TEST(WorkingCaption, AReusedBitmapGivesTheSameResultAsANewOne) {
  FontEngine engine;
  const CaptionStyle style = Style(18, Rgb(200, 0, 0), Rgb(0, 0, 80));
  Bitmap fresh;
  RenderWorkingCaption(fresh, "再利用 Reuse", style, engine);
  Bitmap reused(33, 17, 8);
  reused.SetPalette(std::vector<PaletteEntry>(256, PaletteEntry{9, 9, 9, 0}));
  reused.SetBrushColor(Rgb(0, 255, 0));
  RenderWorkingCaption(reused, "前の画像", Style(40), engine);
  reused.SetBitsPerPixel(24);
  RenderWorkingCaption(reused, "再利用 Reuse", style, engine);
  ASSERT_EQ(reused.Width(), fresh.Width());
  ASSERT_EQ(reused.Height(), fresh.Height());
  EXPECT_EQ(std::memcmp(reused.Bits(), fresh.Bits(), fresh.ImageSize()), 0);
}

TEST(WorkingCaption, DefaultFaceDrawsWithoutTheJapaneseHint) {
  FontEngine engine;
  CaptionStyle style = Style(20);
  style.faceName = "Default";
  // Measured as a new font (Japanese), drawn with character set 0.
  EXPECT_TRUE(WorkingFont(style, engine).shiftJis);
  EXPECT_EQ(WorkingFont(style, engine).faceName, "Default");
  EXPECT_FALSE(FontEngine::IsShiftJisFont(WorkingFont(style, engine).faceName));
  style.faceName = "";
  EXPECT_EQ(WorkingFont(style, engine).faceName, kDefaultFaceName);
  Bitmap b;
  RenderWorkingCaption(b, "直", style, engine);
  EXPECT_GT(b.Width(), 20);
}

TEST(WorkingCaption, JapaneseTextHasAGlyphForEveryCharacter) {
  FontEngine engine;
  const FontDescription f = WorkingFont(Style(25), engine);
  EXPECT_EQ(engine.UnknownGlyphs(ScratchFont(f, true, engine), "今日の天気は晴れ、ｶﾀｶﾅ・記号①"), 0);
}

TEST(WorkingCaption, ZeroAndNegativeSizesStillRender) {
  FontEngine engine;
  Bitmap zero, negative;
  RenderWorkingCaption(zero, "Ab", Style(0), engine);
  RenderWorkingCaption(negative, "Ab", Style(-10), engine);
  EXPECT_GT(zero.Width(), 5);
  EXPECT_GT(negative.Width(), 5);
  // -10 points asks for a cell height of 27 pixels, a little smaller than 20 points' em.
  EXPECT_LT(negative.Height(), 27 + 27 / 2 + 4);
}

TEST(WorkingCaption, ALargeCaptionIsDrawnInBands) {
  FontEngine engine;
  // At 400 points the scratch of one character needs more than one band.
  const CaptionStyle style = Style(400, Rgb(0, 0, 128));
  Bitmap banded, whole;
  RenderWorkingCaption(banded, "大", style, engine);
  RenderWorkingCaption(whole, "大", style, engine, ScratchLimits{32766, std::size_t(1) << 30});
  EXPECT_GT(banded.Height(), 700);
  ASSERT_EQ(whole.ImageSize(), banded.ImageSize());
  EXPECT_EQ(std::memcmp(whole.Bits(), banded.Bits(), whole.ImageSize()), 0);
  // Narrow tiles and single row pairs give the same image too.
  Bitmap tiled;
  RenderWorkingCaption(tiled, "帯 Band", Style(30), engine, ScratchLimits{100, 4096});
  RenderWorkingCaption(whole, "帯 Band", Style(30), engine);
  ASSERT_EQ(whole.ImageSize(), tiled.ImageSize());
  EXPECT_EQ(std::memcmp(whole.Bits(), tiled.Bits(), whole.ImageSize()), 0);
}

TEST(WorkingCaption, AHugeSizeOrTextIsRefusedWithAMessage) {
  FontEngine engine;
  Bitmap b;
  for (int points : {1000000, -1000000, 2147483647, -2147483647 - 1, 150000}) {
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

TEST(RenderCaption, HalvesTheTrimmedImageInto24Bits) {
  FontEngine engine;
  const CaptionStyle style = Style(25, Rgb(0, 0, 128), Rgb(255, 255, 200));
  for (const std::string text : {"今日の天気は晴れ Sunny Day 2024", "", "   ", "i"}) {
    Bitmap working, caption(5, 5, 8);
    RenderWorkingCaption(working, text, style, engine);
    RenderCaption(caption, text, style, engine);
    EXPECT_EQ(caption.BitsPerPixel(), 24);
    EXPECT_EQ(caption.Width(), working.Width() / 2) << text;
    EXPECT_EQ(caption.Height(), working.Height() / 2) << text;
    EXPECT_GE(caption.Width(), 2);
    EXPECT_GE(caption.Height(), 2);
    EXPECT_EQ(caption.PixelAt(caption.Width() - 1, 0), Rgb(255, 255, 200));
  }
  Bitmap empty;
  RenderCaption(empty, "", style, engine);
  EXPECT_EQ(empty.Width(), 3);
}

}  // namespace
}  // namespace glyphary
