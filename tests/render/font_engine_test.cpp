#include <gtest/gtest.h>

#include <strings.h>

#include <algorithm>
#include <string>

#include "render/antialias.h"
#include "render/font_setup.h"
#include "render/render.h"
#include "test_support.h"

namespace glyphary {
namespace {

TEST(MulDiv, RoundsHalvesAwayFromZeroWithoutOverflow) {
  EXPECT_EQ(MulDiv(25 * 2, 96, 72), 67);  // 66.67
  EXPECT_EQ(MulDiv(3, 1, 2), 2);
  EXPECT_EQ(MulDiv(-3, 1, 2), -2);
  EXPECT_EQ(MulDiv(3, -1, 2), -2);
  EXPECT_EQ(MulDiv(-3, -1, -2), -2);
  EXPECT_EQ(MulDiv(5, 1, 4), 1);
  EXPECT_EQ(MulDiv(2000000000, 3, 4), 1500000000);  // the product needs 64 bits
  EXPECT_EQ(MulDiv(1, 1, 0), -1);
  EXPECT_EQ(MulDiv(2000000000, 4, 1), -1);
}

TEST(FontHeights, ScratchFontIsTwiceTheSizeReadBackFromThePixelHeight) {
  FontEngine engine(96);
  EXPECT_EQ(engine.HeightFromPoints(50), -67);
  EXPECT_EQ(engine.PointsFromHeight(-67), 50);
  FontDescription working;
  working.height = -67;
  EXPECT_EQ(ScratchFont(working, false, engine).height, -133);
  working.height = engine.HeightFromPoints(20);
  EXPECT_EQ(working.height, -27);
  EXPECT_EQ(engine.PointsFromHeight(-27), 20);
  EXPECT_EQ(ScratchFont(working, true, engine).height, -53);
  EXPECT_TRUE(ScratchFont(working, true, engine).shiftJis);
  // Size 0 stays the default height; a cell height stays a cell height.
  working.height = 0;
  EXPECT_EQ(ScratchFont(working, false, engine).height, 0);
  working.height = 27;
  EXPECT_EQ(ScratchFont(working, false, engine).height, 53);
  EXPECT_EQ(FontEngine(120).HeightFromPoints(10), -17);
  EXPECT_THROW(FontEngine(0), Error);
}

TEST(FaceNames, AreCutToThirtyOneBytesBetweenCharacters) {
  EXPECT_EQ(CutFaceName("IPAPGothic"), "IPAPGothic");
  EXPECT_EQ(CutFaceName(std::string(40, 'a')), std::string(31, 'a'));
  // Ten three-byte characters are 30 bytes; the eleventh would end at byte 33.
  const std::string kana = "アイウエオカキクケコサ";
  EXPECT_EQ(CutFaceName(kana), "アイウエオカキクケコ");
  EXPECT_EQ(CutFaceName("a" + kana), "a" + std::string("アイウエオカキクケコ"));
}

TEST(FaceLists, OfferEveryFamilySortedWithDefaultAndTheWindowsAliases) {
  const auto& faces = FontEngine::FaceList();
  ASSERT_FALSE(faces.empty());
  for (const char* name :
       {"Default", "ＭＳ Ｐゴシック", "MS Mincho", "MS UI Gothic", "DejaVu Sans", "IPA Pゴシック"})
    EXPECT_NE(std::find(faces.begin(), faces.end(), name), faces.end()) << name;
  // Listed under the Japanese name, once.
  EXPECT_EQ(std::find(faces.begin(), faces.end(), "IPAPGothic"), faces.end());
  EXPECT_EQ(std::count(faces.begin(), faces.end(), "DejaVu Sans"), 1);
  for (std::size_t i = 1; i < faces.size(); ++i)
    EXPECT_LE(strcasecmp(faces[i - 1].c_str(), faces[i].c_str()), 0) << faces[i];
}

TEST(FaceLists, ShiftJisFacesAreTheJapaneseFamiliesOnly) {
  const auto& faces = FontEngine::ShiftJisFaceList();
  EXPECT_NE(std::find(faces.begin(), faces.end(), "IPA明朝"), faces.end());
  EXPECT_NE(std::find(faces.begin(), faces.end(), "ＭＳ Ｐゴシック"), faces.end());
  EXPECT_EQ(std::find(faces.begin(), faces.end(), "DejaVu Sans"), faces.end());
  for (const std::string& f : faces) EXPECT_NE(f[0], '@');
}

TEST(IsShiftJisFont, MatchesByteForByte) {
  EXPECT_TRUE(FontEngine::IsShiftJisFont("ＭＳ Ｐゴシック"));
  EXPECT_TRUE(FontEngine::IsShiftJisFont("MS PGothic"));
  EXPECT_FALSE(FontEngine::IsShiftJisFont("ms pgothic"));        // letter case
  EXPECT_FALSE(FontEngine::IsShiftJisFont("MS Pゴシック"));      // width
  EXPECT_FALSE(FontEngine::IsShiftJisFont("ＭＳ Ｐゴシック "));  // no trimming
  EXPECT_FALSE(FontEngine::IsShiftJisFont("@ＭＳ Ｐゴシック"));
  EXPECT_FALSE(FontEngine::IsShiftJisFont("Default"));
  EXPECT_FALSE(FontEngine::IsShiftJisFont("No Such Face"));
  EXPECT_FALSE(FontEngine::IsShiftJisFont(""));
}

TEST(FontAliases, AreReadFromTheFileFontconfigLoads) {
  const auto& setup = SharedFontSetup();
  ASSERT_FALSE(setup.confPath.empty());
  const auto aliases = ReadFontAliases(ReadAll(setup.confPath));
  ASSERT_EQ(aliases.size(), 9u);
  EXPECT_EQ(aliases[0].name, "ＭＳ Ｐゴシック");
  EXPECT_EQ(aliases[0].target, "IPAPGothic");
  const auto ui = std::find_if(aliases.begin(), aliases.end(),
                               [](const FontAlias& a) { return a.name == "MS UI Gothic"; });
  ASSERT_NE(ui, aliases.end());
  EXPECT_EQ(ui->target, "IPAPGothic");
  EXPECT_TRUE(ReadFontAliases("<alias><family>A</family></alias>").empty());
}

TEST(FontEngine, AliasDrawsWithItsIpaTarget) {
  FontEngine engine;
  FontDescription ms{"ＭＳ Ｐゴシック", -100, true};
  FontDescription ipa{"IPAPGothic", -100, true};
  const std::string text = "日本語 Caption";
  EXPECT_EQ(engine.Extent(ms, text).cx, engine.Extent(ipa, text).cx);
  EXPECT_EQ(engine.UnknownGlyphs(ms, "今日の天気は晴れ"), 0);
  // Without the Japanese hint the kana still find a font.
  ms.shiftJis = false;
  EXPECT_EQ(engine.UnknownGlyphs(ms, "今日の天気は晴れ"), 0);
}

TEST(FontEngine, DefaultAndEmptyFaceSelectTheDefaultFace) {
  FontEngine engine;
  const std::string text = "Caption 字";
  const int expected = engine.Extent({kDefaultFaceName, -80}, text).cx;
  EXPECT_EQ(engine.Extent({"Default", -80}, text).cx, expected);
  EXPECT_EQ(engine.Extent({"dEFAULT", -80}, text).cx, expected);
  EXPECT_EQ(engine.Extent({"", -80}, text).cx, expected);
  EXPECT_NE(engine.Extent({"DejaVu Serif", -80}, text).cx, expected);
}

TEST(FontEngine, HeightsSelectEmCellOrDefaultSize) {
  FontEngine engine;
  // IPA fonts: ascent + descent is one em, so em and cell heights agree.
  EXPECT_EQ(engine.Extent({"IPAGothic", -100}, "gM").cy, 100);
  EXPECT_EQ(engine.Extent({"IPAGothic", 100}, "gM").cy, 100);
  // DejaVu's cell is taller than its em: a cell height asks for a smaller em.
  const TextExtent em = engine.Extent({"DejaVu Sans", -100}, "M");
  const TextExtent cell = engine.Extent({"DejaVu Sans", 100}, "M");
  EXPECT_GT(em.cy, 100);
  EXPECT_EQ(cell.cy, 100);
  EXPECT_LT(cell.cx, em.cx);
  EXPECT_EQ(engine.Extent({"IPAGothic", 0}, "gM").cy, 12);
  // Sizes scale smoothly: unhinted advances grow in proportion.
  const int w10 = engine.Extent({"DejaVu Sans", -10}, "Sunny Day 2024").cx;
  const int w100 = engine.Extent({"DejaVu Sans", -100}, "Sunny Day 2024").cx;
  EXPECT_NEAR(w100, 10 * w10, 10);
}

TEST(FontEngine, ExtentOfEmptyTextHasNoWidthAndALineHeight) {
  FontEngine engine;
  const TextExtent e = engine.Extent({"IPAPGothic", -40}, "");
  EXPECT_EQ(e.cx, 0);
  EXPECT_EQ(e.cy, 40);
}

TEST(FontEngine, ALineBreakIsDrawnNotObeyed) {
  FontEngine engine;
  EXPECT_EQ(engine.Extent({"IPAPGothic", -40}, "a\nb").cy, 40);
}

TEST(FontEngine, BrokenUtf8IsMeasuredNotRejected) {
  FontEngine engine;
  EXPECT_GT(engine.Extent({"IPAPGothic", -40}, std::string("a\xff") + "b").cx,
            engine.Extent({"IPAPGothic", -40}, "ab").cx);
}

}  // namespace
}  // namespace glyphary
