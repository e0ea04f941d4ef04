// The [Effect] section: the caption's border and shadow in the settings file.
#include <gtest/gtest.h>

#include <string>

#include "export/export.h"
#include "settings/settings.h"
#include "test_support.h"

namespace glyphary {
namespace {

class EffectSettings : public ::testing::Test {
 protected:
  void Write(const std::string& text) { WriteWholeFile(path_, Bytes(text)); }

  CaptionSettings Load() {
    CaptionSettings settings;
    LoadCaptionSettings(path_, settings);
    return settings;
  }

  std::string LoadError() {
    CaptionSettings settings;
    return ErrorOf([&] { LoadCaptionSettings(path_, settings); });
  }

  TempDir dir_;
  std::string path_ = dir_.File("glyphary.INI");
};

TEST_F(EffectSettings, EveryKeyRoundTripsAndTheSectionComesLast) {
  CaptionSettings stored;
  stored.style.effect = {7,  0x00FF8000,     -20,  13,         Rgb(255, 0, 0), 10,
                         20, Rgb(139, 0, 0), true, kColorBlack};
  StoreCaptionSettings(path_, stored);
  const std::string text = ReadAll(path_);
  EXPECT_NE(text.find("[Color]\nDrawColor=clBlack\nBGColor=clWhite\n\n[Effect]\n"
                      "OutlineWidth=7\nOutlineColor=$00FF8000\nShadowX=-20\nShadowY=13\n"
                      "ShadowColor=clRed\nShadowBlur=10\nOuterOutlineWidth=20\n"
                      "OuterOutlineColor=$0000008B\nGradient=1\nGradientColor=clBlack\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.rfind("[Effect]"), text.find("[Effect]"));
  EXPECT_EQ(Load().style.effect, stored.style.effect);
}

TEST_F(EffectSettings, AFileWithoutTheSectionLoadsAsBeforeAndKeepsItsBytesUpToIt) {
  const std::string old =
      "[JPEG]\nRate=80\n\n[PNG]\nTransParent=1\n256Color=0\nAlpha=0\n\n"
      "[Window]\nLeft=200\nTop=150\nWidth=623\nHeight=340\n\n[Font]\nSize=31\n"
      "Name=ＭＳ Ｐゴシック\nBold=0\nItalic=0\nUnderLine=0\n\n[Color]\nDrawColor=clBlack\n"
      "BGColor=clWhite\n";
  Write(old);
  CaptionSettings loaded = Load();
  EXPECT_TRUE(loaded.style.effect.None());
  EXPECT_EQ(loaded.style.effect, CaptionEffect{});
  EXPECT_EQ(loaded.style.pointSize, 31);
  StoreCaptionSettings(path_, loaded);
  const std::string now = ReadAll(path_);
  EXPECT_EQ(now.substr(0, old.size()), old);
  EXPECT_EQ(now.substr(old.size()),
            "\n[Effect]\nOutlineWidth=0\nOutlineColor=clWhite\nShadowX=0\nShadowY=0\n"
            "ShadowColor=clGray\nShadowBlur=0\nOuterOutlineWidth=0\nOuterOutlineColor="
            "clBlack\nGradient=0\nGradientColor=clWhite\n"
            "\n[Layout]\nVertical=0\nAlign=0\nLineSpacing=100\nLetterSpacing=0\n");
}

TEST_F(EffectSettings, ValuesReadInEveryIntegerFormAndAtTheEndsOfTheirRanges) {
  Write(
      "[effect]\noutlinewidth=$14\nShadowX=-20\nShadowY=0x14\nShadowBlur= 10\n"
      "OutlineColor=clnavy\nShadowColor=255\n");
  const CaptionEffect e = Load().style.effect;
  EXPECT_EQ(e.outlineWidth, 20);
  EXPECT_EQ(e.shadowX, -20);
  EXPECT_EQ(e.shadowY, 20);
  EXPECT_EQ(e.shadowBlur, 10);
  EXPECT_EQ(e.outlineColor, Rgb(0, 0, 128));
  EXPECT_EQ(e.shadowColor, Rgb(255, 0, 0));
}

// A bad value stops the section where it stands, as a bad colour does; the
// other sections still load.
TEST_F(EffectSettings, ABadValueNamesItsKeyAndTheKeysAfterItKeepTheirDefaults) {
  const std::string where = " (" + path_ + " の [Effect] ";
  struct Case {
    std::string line, message;
  };
  const Case cases[] = {
      {"OutlineWidth=21", "'21' は 0 から 20 の範囲にありません" + where + "OutlineWidth)"},
      {"OutlineWidth=-1", "'-1' は 0 から 20 の範囲にありません" + where + "OutlineWidth)"},
      {"OutlineWidth=thick", "'thick' は整数ではありません" + where + "OutlineWidth)"},
      {"OutlineWidth=", "'' は整数ではありません" + where + "OutlineWidth)"},
      {"ShadowX=-21", "'-21' は -20 から 20 の範囲にありません" + where + "ShadowX)"},
      {"ShadowBlur=$FFFFFFFF",
       "'$FFFFFFFF' は 0 から 10 の範囲にありません" + where + "ShadowBlur)"},
      {"ShadowBlur=11", "'11' は 0 から 10 の範囲にありません" + where + "ShadowBlur)"},
      {"OuterOutlineWidth=21",
       "'21' は 0 から 20 の範囲にありません" + where + "OuterOutlineWidth)"},
      {"Gradient=2", "'2' は 0 から 1 の範囲にありません" + where + "Gradient)"},
      {"GradientColor=clPink", "'clPink' は整数ではありません" + where + "GradientColor)"},
      {"OutlineColor=clPink", "'clPink' は整数ではありません" + where + "OutlineColor)"},
  };
  for (const Case& c : cases) {
    Write("[Font]\nSize=31\n[Effect]\n" + c.line + "\nShadowY=5\n[JPEG]\nRate=90\n");
    EXPECT_EQ(LoadError(), c.message) << c.line;
    CaptionSettings settings;
    try {
      LoadCaptionSettings(path_, settings);
    } catch (const Error&) {
    }
    // Keys are read in table order, ShadowY before ShadowBlur and the later ones.
    const bool afterShadowY = c.line.starts_with("ShadowBlur") || c.line.starts_with("Outer") ||
                              c.line.starts_with("Gradient");
    EXPECT_EQ(settings.style.effect.shadowY, afterShadowY ? 5 : 0) << c.line;
    EXPECT_EQ(settings.style.pointSize, 31) << c.line;
    EXPECT_EQ(settings.exportOptions.jpegQuality, 90) << c.line;
  }
}

}  // namespace
}  // namespace glyphary
