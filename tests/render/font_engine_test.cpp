#include <gtest/gtest.h>
#include <strings.h>

#include <algorithm>
#include <vector>

#include "render/antialias.h"
#include "render/font_description.h"
#include "render/font_setup.h"
#include "render/render.h"
#include "test_support.h"

namespace glyphary {
namespace {

TEST(FontHeights, MulDivRoundsHalvesAwayFromZeroAndScratchDoublesTheReadBackSize) {
  EXPECT_EQ(MulDiv(-3, 1, 2), -2);
  EXPECT_EQ(MulDiv(3, -1, -2), 2);
  EXPECT_EQ(MulDiv(2000000000, 3, 4), 1500000000);  // 64-bit product
  EXPECT_EQ(MulDiv(1, 1, 0), -1);
  FontEngine engine(96);
  FontDescription working{"", engine.HeightFromPoints(50)};
  EXPECT_EQ(working.height, -67);
  EXPECT_EQ(engine.PointsFromHeight(-67), 50);
  EXPECT_EQ(ScratchFont(working, false, engine).height, -133);  // not -134
  working.height = engine.HeightFromPoints(20);
  EXPECT_EQ(working.height, -27);
  EXPECT_EQ(ScratchFont(working, true, engine).height, -53);
  working.height = 27;  // a cell height stays one
  EXPECT_EQ(ScratchFont(working, false, engine).height, 53);
}

TEST(FaceNames, AreCutToThirtyOneShiftJisBytesBetweenCharacters) {
  EXPECT_EQ(CutFaceName(std::string(40, 'a')), std::string(31, 'a'));
  // Two bytes a character in Shift-JIS, three in UTF-8.
  EXPECT_EQ(CutFaceName("テスト用明朝体エクストラ"), "テスト用明朝体エクストラ");
  EXPECT_EQ(CutFaceName("アイウエオカキクケコサシスセソタ"), "アイウエオカキクケコサシスセソ");
  EXPECT_EQ(CutFaceName(std::string("a") + "アイウエオカキクケコサシスセソ"),
            "aアイウエオカキクケコサシスセソ");  // 31 bytes
  EXPECT_EQ(CutFaceName(std::string("ab") + "アイウエオカキクケコサシスセソ"),
            "abアイウエオカキクケコサシスセ");  // 30 bytes: not cut inside "ソ"
  // Half-width katakana take one byte; a character Shift-JIS lacks counts two.
  std::string halfWidth;
  for (int i = 0; i < 32; ++i) halfWidth += "ｱ";
  EXPECT_EQ(CutFaceName(halfWidth), halfWidth.substr(0, 31 * 3));
  std::string emoji = "a";
  for (int i = 0; i < 16; ++i) emoji += "😀";
  EXPECT_EQ(CutFaceName(emoji), emoji.substr(0, 1 + 15 * 4));
}

TEST(FaceLists, HoldEveryFamilySortedAndTheJapaneseOnesWithTheWindowsAliases) {
  const auto& faces = FontEngine::FaceList();
  for (const char* name :
       {"Default", "ＭＳ Ｐゴシック", "MS UI Gothic", "DejaVu Sans", "IPA Pゴシック"})
    EXPECT_EQ(std::count(faces.begin(), faces.end(), name), 1) << name;
  EXPECT_EQ(std::count(faces.begin(), faces.end(), "IPAPGothic"),
            0);  // its Japanese name is listed
  EXPECT_TRUE(std::is_sorted(faces.begin(), faces.end(), [](const auto& a, const auto& b) {
    return strcasecmp(a.c_str(), b.c_str()) < 0;
  }));
  const auto& japanese = FontEngine::ShiftJisFaceList();
  EXPECT_EQ(std::count(japanese.begin(), japanese.end(), "IPA明朝"), 1);
  EXPECT_EQ(std::count(japanese.begin(), japanese.end(), "DejaVu Sans"), 0);
}

TEST(IsShiftJisFont, MatchesByteForByte) {
  EXPECT_TRUE(FontEngine::IsShiftJisFont("ＭＳ Ｐゴシック"));
  EXPECT_TRUE(FontEngine::IsShiftJisFont("MS PGothic"));
  for (const char* other : {"ms pgothic", "MS Pゴシック", "ＭＳ Ｐゴシック ", "@ＭＳ Ｐゴシック",
                            "Default", "No Such Face", ""})
    EXPECT_FALSE(FontEngine::IsShiftJisFont(other)) << other;
}

TEST(FontAliases, ComeFromTheFileFontconfigLoadedAndDrawWithTheirTarget) {
  const auto aliases = ReadFontAliases(ReadAll(SharedFontSetup().confPath));
  ASSERT_EQ(aliases.size(), 9u);
  EXPECT_EQ(aliases[0].name, "ＭＳ Ｐゴシック");
  EXPECT_EQ(aliases[0].target, "IPAPGothic");
  FontEngine engine;
  const std::string text = "日本語 Caption";
  EXPECT_EQ(engine.Extent({"ＭＳ Ｐゴシック", -100}, text).cx,
            engine.Extent({"IPAPGothic", -100}, text).cx);
  // "Default" in any case and an empty name select the default face.
  const int expected = engine.Extent({kDefaultFaceName, -80}, text).cx;
  EXPECT_EQ(engine.Extent({"dEFAULT", -80}, text).cx, expected);
  EXPECT_EQ(engine.Extent({"", -80}, text).cx, expected);
  EXPECT_NE(engine.Extent({"DejaVu Serif", -80}, text).cx, expected);
  // Fontconfig's generic lists reach IPA Gothic through the Windows names, so
  // an unknown face is drawn in it.
  EXPECT_EQ(engine.Extent({"No Such Face", -80}, text).cx,
            engine.Extent({"IPAGothic", -80}, text).cx);
}

TEST(FontEngine, HeightsAskForEmCellOrDefaultSizeAndScaleSmoothly) {
  FontEngine engine;
  // The cell is the OS/2 win ascent and descent, each rounded: IPA Gothic's
  // 1802 and 401 of 2048 units, where its hhea descent is only 246.
  EXPECT_EQ(engine.Extent({"IPAGothic", -100}, "gM").cy, 88 + 20);
  EXPECT_EQ(engine.Extent({"IPAMincho", -100}, "gM").cy, 88 + 22);
  EXPECT_EQ(engine.Extent({"DejaVu Sans", -100}, "M").cy, 93 + 24);
  EXPECT_EQ(engine.Extent({"DejaVu Sans", 100}, "M").cy, 100);
  EXPECT_EQ(engine.Extent({"IPAGothic", 0}, "gM").cy, 11 + 2);
  EXPECT_EQ(engine.Extent({"IPAGothic", -40}, "a\nb").cy, 35 + 8);  // one line's, however many
  const int w10 = engine.Extent({"DejaVu Sans", -10}, "Sunny Day 2024").cx;
  EXPECT_NEAR(engine.Extent({"DejaVu Sans", -100}, "Sunny Day 2024").cx, 10 * w10, 10);
}

// The text drawn black on white into width × height pixels from (x, y) on.
std::vector<std::uint8_t> BlackText(FontEngine& engine, const FontDescription& font,
                                    const std::string& text, int width, int height, int x, int y) {
  std::vector<std::uint8_t> pixels(std::size_t(width) * height * 4, 0xFF);
  engine.DrawBlackText(font, text, pixels.data(), width, height, width * 4, x, y);
  return pixels;
}

// The text drawn into an image just its size shows what it shows with room
// around, and so does every band of 16 rows of it.
void ExpectSameInkTightRoomyAndBanded(FontEngine& engine, const FontDescription& font,
                                      const std::string& text) {
  const TextExtent e = engine.Extent(font, text);
  const int w = e.cx, h = engine.InkBox(font, text).bottom, margin = 60;
  const auto tight = BlackText(engine, font, text, w, h, 0, 0);
  const auto roomy =
      BlackText(engine, font, text, w + 2 * margin, h + 2 * margin, -margin, -margin);
  int differ = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      differ += tight[(std::size_t(y) * w + x) * 4] !=
                roomy[(std::size_t(y + margin) * (w + 2 * margin) + x + margin) * 4];
  EXPECT_EQ(differ, 0);
  for (int top = 0; top < h; top += 16) {
    const auto band = BlackText(engine, font, text, w, std::min(16, h - top), 0, top);
    EXPECT_TRUE(std::equal(band.begin(), band.end(), tight.begin() + std::size_t(top) * w * 4))
        << "band at row " << top;
  }
}

// Emboldened glyphs ink beyond their metric boxes, which Cairo clips to
// wherever the boxes cross the image's edge.
TEST(DrawBlackText, BoldInkIsTheSameInATightImageInBandsAndWithRoomAround) {
  FontEngine engine;
  // The second text's run begins with a space, which has no box.
  for (const std::string text : {"A今日Wj、", " 、"})
    for (const char* face : {"IPAPGothic", "DejaVu Serif"})
      for (bool italic : {false, true}) {
        FontDescription font{face, -120};
        font.bold = true;
        font.italic = italic;
        SCOPED_TRACE(text + " in " + face + (italic ? " bold italic" : " bold"));
        ExpectSameInkTightRoomyAndBanded(engine, font, text);
      }
}

}  // namespace
}  // namespace glyphary
