// Faces as a user installs them: glyphary-cli runs in a fontconfig setup of
// its own, made of shipped fonts given new family names as they are scanned.
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "export/export.h"
#include "render/font_setup.h"
#include "render/handles.h"
#include "render/render.h"
#include "test_support.h"

namespace glyphary {
namespace {

// The file of an installed family, as this process's fontconfig finds it.
std::string FontFile(const std::string& family) {
  const FcPatternPtr pattern(FcNameParse(reinterpret_cast<const FcChar8*>(family.c_str())));
  const FcObjectSetPtr objects(FcObjectSetBuild(FC_FILE, nullptr));
  const FcFontSetPtr fonts(FcFontList(SharedFontSetup().config, pattern.get(), objects.get()));
  FcChar8* path = nullptr;
  if (fonts && fonts->nfont > 0 &&
      FcPatternGetString(fonts->fonts[0], FC_FILE, 0, &path) == FcResultMatch)
    return reinterpret_cast<const char*>(path);
  return {};
}

// A face that no font has falls back to DejaVu Sans, where it is installed.
constexpr char kSubstitute[] =
    "  <match target=\"pattern\">\n    <edit name=\"family\" mode=\"append_last\" "
    "binding=\"weak\"><string>DejaVu Sans</string></edit>\n  </match>\n";

class InstalledFaces : public ::testing::Test {
 protected:
  // Installs the font of `family` under the family name `as`.
  void Install(const std::string& family, const std::string& as) {
    const std::string source = FontFile(family);
    ASSERT_FALSE(source.empty()) << family;
    const std::string link = fonts_ + "/" + std::to_string(++count_) + ".ttf";
    std::filesystem::create_directories(fonts_);
    std::filesystem::create_symlink(source, link);
    rules_ << "  <match target=\"scan\">\n    <test name=\"file\"><string>" << link
           << "</string></test>\n    <edit name=\"family\" mode=\"assign_replace\"><string>" << as
           << "</string></edit>\n  </match>\n";
  }

  // Runs glyphary-cli with the fonts installed so far and nothing else.
  int Cli(const std::string& arguments) {
    const std::string conf = dir_.File("fonts.conf");
    std::ofstream(conf) << "<?xml version=\"1.0\"?>\n<fontconfig>\n  <dir>" << fonts_
                        << "</dir>\n  <cachedir>" << dir_.File("cache") << "</cachedir>\n"
                        << rules_.str() << kSubstitute << "</fontconfig>\n";
    const std::string command = "FONTCONFIG_FILE=" + conf + " " + GLYPHARY_CLI + " " + arguments +
                                " >" + dir_.File("stdout") + " 2>" + dir_.File("stderr");
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::vector<std::string> Faces(const std::string& option = "") {
    EXPECT_EQ(Cli("faces " + option), 0) << ReadAll(dir_.File("stderr"));
    std::istringstream in(ReadAll(dir_.File("stdout")));
    std::vector<std::string> faces;
    for (std::string line; std::getline(in, line);) faces.push_back(line);
    return faces;
  }

  // The caption the private setup renders in `face`.
  Bitmap Rendered(const std::string& text, const std::string& face) {
    const std::string out = dir_.File("c.bmp");
    EXPECT_EQ(Cli("render '" + text + "' " + out + " --size 20 --face '" + face + "'"), 0)
        << ReadAll(dir_.File("stderr"));
    return ReadBmpFile(out);
  }

  // The caption this process renders with its usual fonts.
  static Bitmap Expected(const std::string& text, const std::string& face) {
    CaptionStyle style;
    style.pointSize = 20;
    style.faceName = face;
    FontEngine engine;
    Bitmap b;
    RenderCaption(b, text, style, engine);
    return b;
  }

  static bool SameImage(const Bitmap& a, const Bitmap& b) {
    return a.Width() == b.Width() && a.Height() == b.Height() &&
           std::memcmp(a.Bits(), b.Bits(), a.ImageSize()) == 0;
  }

  TempDir dir_;
  std::string fonts_ = dir_.File("fonts");
  std::ostringstream rules_;
  int count_ = 0;
};

TEST_F(InstalledFaces, ALongJapaneseNameThatShiftJisHoldsRendersInItsOwnFace) {
  // 24 bytes in Shift-JIS, 36 in UTF-8.
  const std::string name = "テスト用明朝体エクストラ";
  Install("IPAMincho", name);
  Install("DejaVu Sans", "DejaVu Sans");
  const auto faces = Faces();
  EXPECT_EQ(std::count(faces.begin(), faces.end(), name), 1);
  const std::string text = "明朝 Mincho";
  const Bitmap own = Rendered(text, name);
  EXPECT_TRUE(SameImage(own, Expected(text, "IPA明朝")));
  EXPECT_FALSE(SameImage(own, Rendered(text, "テスト用")));
}

TEST_F(InstalledFaces, AGenuineWindowsFaceWinsOverItsAliasAndIsListedOnce) {
  // Stand-ins: the monospaced IPA face as "ＭＳ Ｐゴシック", beside the
  // proportional one that the alias falls back to.
  Install("IPAGothic", "ＭＳ Ｐゴシック");
  Install("IPAPGothic", "IPAPGothic");
  for (const std::string option : {"", "--japanese"}) {
    const auto faces = Faces(option);
    EXPECT_EQ(std::count(faces.begin(), faces.end(), "ＭＳ Ｐゴシック"), 1) << option;
    EXPECT_EQ(std::count(faces.begin(), faces.end(), "MS UI Gothic"), 1) << option;
  }
  const std::string text = "日本語 Caption";
  const Bitmap genuine = Rendered(text, "ＭＳ Ｐゴシック");
  EXPECT_TRUE(SameImage(genuine, Expected(text, "IPAゴシック")));
  EXPECT_FALSE(SameImage(genuine, Expected(text, "IPA Pゴシック")));
  // Without it the alias still serves.
  EXPECT_TRUE(SameImage(Rendered(text, "MS UI Gothic"), Expected(text, "MS UI Gothic")));
}

}  // namespace
}  // namespace glyphary
