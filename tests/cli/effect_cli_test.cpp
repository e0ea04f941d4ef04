// The border and shadow options of render and batch.
#include <gtest/gtest.h>

#include <string>

#include "cli/cli_fixture.h"
#include "export/export.h"
#include "render/render.h"

namespace glyphary {
namespace {

class EffectCli : public CliTest {
 protected:
  std::string out_ = dir_.File("c.bmp");
};

TEST_F(EffectCli, BorderAndShadowReachTheCaptionInEveryColourForm) {
  ASSERT_EQ(
      RunCli("render 'gyj 縁' " + out_ + " --size 30 --outline 3,clRed --shadow 2,-4,#0000FF,5"), 0)
      << Stderr();
  CaptionStyle style;
  style.pointSize = 30;
  style.effect = {3, Rgb(255, 0, 0), 2, -4, Rgb(0, 0, 255), 5};
  ExpectSameImage(ReadBmpFile(out_), Rendered("gyj 縁", style));

  // The テロップ style's second border and fill.
  ASSERT_EQ(
      RunCli("render テロップ " + out_ + " --outline 2 --outer-outline 4,#8B0000 --gradient clRed"),
      0)
      << Stderr();
  style = {};
  style.effect.outlineWidth = 2;
  style.effect.outerOutlineWidth = 4;
  style.effect.outerOutlineColor = Rgb(139, 0, 0);
  style.effect.gradient = true;
  style.effect.gradientColor = Rgb(255, 0, 0);
  ExpectSameImage(ReadBmpFile(out_), Rendered("テロップ", style));

  // Colour and blur are optional and keep their defaults.
  ASSERT_EQ(RunCli("render x " + out_ + " --outline 1 --shadow 1,1"), 0) << Stderr();
  style = {};
  style.effect.outlineWidth = 1;
  style.effect.shadowX = style.effect.shadowY = 1;
  ExpectSameImage(ReadBmpFile(out_), Rendered("x", style));

  // An empty colour before a blur keeps the default too.
  ASSERT_EQ(RunCli("render x " + out_ + " --shadow 2,2,,3"), 0) << Stderr();
  style = {};
  style.effect.shadowX = style.effect.shadowY = 2;
  style.effect.shadowBlur = 3;
  ExpectSameImage(ReadBmpFile(out_), Rendered("x", style));
}

TEST_F(EffectCli, TheSettingsFileGivesTheEffectAndTheOptionsOverrideIt) {
  const std::string ini = dir_.File("glyphary.INI");
  WriteWholeFile(ini, Bytes("[Effect]\nOutlineWidth=4\nOutlineColor=clNavy\nShadowX=3\n"
                            "ShadowY=3\nShadowBlur=2\n"));
  ASSERT_EQ(RunCli("render Ab " + out_ + " --settings " + ini + " --no-outline"), 0) << Stderr();
  CaptionStyle style;
  style.effect = {0, Rgb(0, 0, 128), 3, 3, 0x00808080, 2};
  ExpectSameImage(ReadBmpFile(out_), Rendered("Ab", style));

  ASSERT_EQ(RunCli("render Ab " + out_ + " --settings " + ini + " --no-shadow --outline 2"), 0)
      << Stderr();
  style.effect = {2, Rgb(0, 0, 128), 0, 0, 0x00808080, 2};
  ExpectSameImage(ReadBmpFile(out_), Rendered("Ab", style));

  WriteWholeFile(ini, Bytes("[Effect]\nShadowBlur=11\n"));
  EXPECT_EQ(RunCli("render Ab " + out_ + " --settings " + ini), 1);
  EXPECT_NE(
      Stderr().find("'11' は 0 から 10 の範囲にありません (" + ini + " の [Effect] ShadowBlur)"),
      std::string::npos)
      << Stderr();
}

TEST_F(EffectCli, AWrongFormIsAUsageErrorAndWritesNothing) {
  const std::pair<const char*, const char*> cases[] = {
      {"--outline 21", "--outline width must be between 0 and 20"},
      {"--outline 3,clPink", "--outline: 'clPink' is not a colour"},
      {"--outline 3,clRed,x", "--outline takes WIDTH[,COLOR]"},
      {"--shadow 3", "--shadow takes DX,DY[,COLOR[,BLUR]]"},
      {"--shadow 1,a", "--shadow DY must be a whole number"},
      {"--shadow 1,2,clRed,11", "--shadow BLUR must be between 0 and 10"},
      {"--shadow 1,-21", "--shadow DY must be between -20 and 20"},
      {"--outline 1 --no-outline", "--outline and --no-outline exclude each other"},
      {"--outer-outline 21", "--outer-outline width must be between 0 and 20"},
      {"--gradient clPink", "--gradient: 'clPink' is not a colour"},
      {"--gradient clRed --no-gradient", "--gradient and --no-gradient exclude each other"},
  };
  for (const auto& [options, message] : cases) {
    EXPECT_EQ(RunCli(std::string("render x ") + out_ + " " + options), 2) << options;
    EXPECT_NE(Stderr().find(message), std::string::npos) << options << ": " << Stderr();
  }
  EXPECT_EQ(dir_.Entries(), 2u) << "only the captured output streams";
}

TEST_F(EffectCli, TheBatchDrawsEveryRowWithTheEffect) {
  const std::string list = dir_.File("list.txt");
  const std::string folder = dir_.Path();
  WriteWholeFile(list, Bytes("一\tone\ngyj\ttwo\n"));
  ASSERT_EQ(RunCli("batch " + list + " --folder " + folder + " --format bmp --outline 2,clRed"), 0)
      << Stderr();
  CaptionStyle style;
  style.effect.outlineWidth = 2;
  style.effect.outlineColor = Rgb(255, 0, 0);
  ExpectSameImage(ReadBmpFile(folder + "/one.bmp"), Rendered("一", style));
  ExpectSameImage(ReadBmpFile(folder + "/two.bmp"), Rendered("gyj", style));
}

}  // namespace
}  // namespace glyphary
