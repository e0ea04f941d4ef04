// The [Layout] section: vertical text, alignment and spacing in the settings file.
#include <gtest/gtest.h>

#include <string>

#include "export/export.h"
#include "settings/settings.h"
#include "test_support.h"

namespace glyphary {
namespace {

class LayoutSettings : public ::testing::Test {
 protected:
  void Write(const std::string& text) { WriteWholeFile(path_, Bytes(text)); }

  // What a load gives, and its message ("" when it loads cleanly).
  std::string Load(CaptionSettings& settings) {
    return ErrorOf([&] { LoadCaptionSettings(path_, settings); });
  }

  CaptionSettings Load() {
    CaptionSettings settings;
    EXPECT_EQ(Load(settings), "");
    return settings;
  }

  TempDir dir_;
  std::string path_ = dir_.File("glyphary.INI");
};

TEST_F(LayoutSettings, EveryKeyRoundTripsInItsStoredFormAfterTheEffect) {
  struct Case {
    CaptionLayout layout;
    std::string section;
  };
  const Case cases[] = {
      {{true, TextAlign::End, 300, -10},
       "Vertical=1\nAlign=2\nLineSpacing=300\nLetterSpacing=-10\n"},
      {{false, TextAlign::Center, 50, 50},
       "Vertical=0\nAlign=1\nLineSpacing=50\nLetterSpacing=50\n"},
      {{true, TextAlign::Start, 137, 3}, "Vertical=1\nAlign=0\nLineSpacing=137\nLetterSpacing=3\n"},
  };
  for (const Case& c : cases) {
    CaptionSettings stored;
    stored.style.layout = c.layout;
    StoreCaptionSettings(path_, stored);
    const std::string text = ReadAll(path_);
    EXPECT_TRUE(
        text.ends_with("ShadowBlur=0\nOuterOutlineWidth=0\nOuterOutlineColor=clBlack\nGradient="
                       "0\nGradientColor=clWhite\n\n[Layout]\n" +
                       c.section))
        << text;
    EXPECT_EQ(Load().style.layout, c.layout) << c.section;
  }
}

TEST_F(LayoutSettings, AFileWithoutTheSectionLoadsAsBeforeAndKeepsItsBytesUpToIt) {
  // A whole file as the program wrote it before the section came.
  CaptionSettings before;
  before.style.effect.outlineWidth = 2;
  StoreCaptionSettings(path_, before);
  std::string old = ReadAll(path_);
  old.erase(old.find("\n[Layout]"));
  Write(old);
  const CaptionSettings loaded = Load();
  EXPECT_EQ(loaded.style.layout, CaptionLayout{});
  EXPECT_EQ(loaded.style.effect.outlineWidth, 2);
  StoreCaptionSettings(path_, loaded);
  const std::string now = ReadAll(path_);
  EXPECT_EQ(now.substr(0, old.size()), old);
  EXPECT_EQ(now.substr(old.size()),
            "\n[Layout]\nVertical=0\nAlign=0\nLineSpacing=100\nLetterSpacing=0\n");
}

// A bad value stops the section where it stands; the keys before it are
// applied, those after it keep their defaults, the other sections load.
TEST_F(LayoutSettings, ABadValueNamesItsKeyAndTheKeysAfterItKeepTheirDefaults) {
  const std::string where = " (" + path_ + " の [Layout] ";
  struct Case {
    std::string line, message;
    bool verticalRead;  // Vertical=1 stands before the bad line
  };
  const Case cases[] = {
      {"Vertical=2", "'2' は 0 から 1 の範囲にありません" + where + "Vertical)", false},
      {"Align=3", "'3' は 0 から 2 の範囲にありません" + where + "Align)", true},
      {"Align=center", "'center' は整数ではありません" + where + "Align)", true},
      {"LineSpacing=49", "'49' は 50 から 300 の範囲にありません" + where + "LineSpacing)", true},
      {"LineSpacing=301", "'301' は 50 から 300 の範囲にありません" + where + "LineSpacing)", true},
      {"LetterSpacing=-11", "'-11' は -10 から 50 の範囲にありません" + where + "LetterSpacing)",
       true},
      {"LetterSpacing=$7FFFFFFF",
       "'$7FFFFFFF' は -10 から 50 の範囲にありません" + where + "LetterSpacing)", true},
  };
  for (const Case& c : cases) {
    const std::string key = c.line.substr(0, c.line.find('='));
    std::string section = "Vertical=1\nAlign=1\nLineSpacing=200\nLetterSpacing=5\n";
    const auto at = section.find(key + "=");
    section.replace(at, section.find('\n', at) - at, c.line);
    Write("[Font]\nSize=31\n[Layout]\n" + section + "[JPEG]\nRate=90\n");
    CaptionSettings settings;
    EXPECT_EQ(Load(settings), c.message) << c.line;
    const CaptionLayout& layout = settings.style.layout;
    EXPECT_EQ(layout.vertical, c.verticalRead) << c.line;
    EXPECT_EQ(layout.letterSpacing, 0) << c.line << ": the last key is never read";
    EXPECT_EQ(settings.style.pointSize, 31) << c.line;
    EXPECT_EQ(settings.exportOptions.jpegQuality, 90) << c.line;
  }
}

}  // namespace
}  // namespace glyphary
