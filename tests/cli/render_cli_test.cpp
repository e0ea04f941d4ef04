#include <gtest/gtest.h>

#include <cstring>

#include "cli/cli_fixture.h"
#include "export/export.h"
#include "png_facts.h"
#include "render/render.h"

namespace glyphary {
namespace {

class RenderCli : public CliTest {
 protected:
  int Run(const std::string& arguments) { return RunCli(arguments); }

  static void ExpectRenders(const std::string& path, const std::string& text,
                            const CaptionStyle& style) {
    FontEngine engine;
    Bitmap expected;
    RenderCaption(expected, text, style, engine);
    ExpectSameImage(ReadBmpFile(path), expected);
  }
};

TEST_F(RenderCli, WritesTheCaptionTheEngineRenders) {
  const std::string out = dir_.File("c.bmp");
  ASSERT_EQ(Run("render '日本語 Caption' " + out + " --size 40 --bold --color clNavy"), 0)
      << Stderr();
  CaptionStyle style;
  style.pointSize = 40;
  style.bold = true;
  style.textColor = Rgb(0, 0, 128);
  ExpectRenders(out, "日本語 Caption", style);
}

// "-" writes the image to standard output, for a pipe into the clipboard.
TEST_F(RenderCli, ADashWritesTheImageToStandardOutputAsPngOrTheFormatGiven) {
  ASSERT_EQ(Run("render '標準出力 gyj' -"), 0) << Stderr();
  WriteWholeFile(dir_.File("out.png"), Bytes(Stdout()));
  CaptionStyle style;
  FontEngine engine;
  Bitmap expected;
  RenderCaption(expected, "標準出力 gyj", style, engine);
  const PngFacts png = ReadPng(dir_.File("out.png"));
  EXPECT_EQ(png.width, expected.Width());
  EXPECT_EQ(png.height, expected.Height());
  ASSERT_EQ(Run("render '標準出力 gyj' - --format bmp"), 0) << Stderr();
  WriteWholeFile(dir_.File("out.bmp"), Bytes(Stdout()));
  ExpectSameImage(ReadBmpFile(dir_.File("out.bmp")), expected);
  // A file's format is its extension.
  EXPECT_EQ(Run("render x " + dir_.File("x.png") + " --format bmp"), 2);
  // A full disk behind standard output is a failure, in words.
  const std::string full =
      std::string(GLYPHARY_CLI) + " render x - 2>" + dir_.File("stderr") + " >/dev/full";
  const int status = std::system(full.c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
  EXPECT_NE(Stderr().find("標準出力に書き込めません (ディスクに空きがありません)"),
            std::string::npos)
      << Stderr();
}

TEST_F(RenderCli, AlphaWritesTheTextColourWithTheInkAsAlpha) {
  ASSERT_EQ(
      Run("render 'Alpha 透過' " + dir_.File("a.png") + " --alpha --color clRed --transparent"), 0)
      << Stderr();
  const PngFacts png = ReadPng(dir_.File("a.png"));
  EXPECT_EQ(png.colorType, 6);
  EXPECT_FALSE(png.transparentColor.has_value());
  EXPECT_EQ(png.CornerAlpha(), 0);
  int opaque = 0;
  for (int y = 0; y < png.height; ++y)
    for (int x = 0; x < png.width; ++x) {
      ASSERT_EQ(png.At(x, y) & 0xFFFFFF, std::uint32_t(Rgb(255, 0, 0)));
      opaque += png.At(x, y) >> 24 == 255;
    }
  EXPECT_GT(opaque, 20);
  // BMP and JPEG are as without it.
  ASSERT_EQ(Run("render 'Alpha' " + dir_.File("a.bmp") + " --alpha"), 0) << Stderr();
  ExpectRenders(dir_.File("a.bmp"), "Alpha", CaptionStyle());
}

TEST_F(RenderCli, TakesColoursAsNamesNumbersAndHashRgb) {
  const std::string out = dir_.File("c.bmp");
  ASSERT_EQ(Run("render '■' " + out + " --size 30 --color '#FF8000' --background '$00004000'"), 0)
      << Stderr();
  const Bitmap b = ReadBmpFile(out);
  EXPECT_EQ(b.PixelAt(0, 0), Rgb(0, 0x40, 0));
  // Full coverage: (old + 255 × text) >> 8 per channel.
  EXPECT_EQ(b.PixelAt(b.Width() / 2, b.Height() / 2), Rgb(0xFE, 0x7F, 0));
  EXPECT_EQ(Run("render x " + out + " --color '#12345'"), 2);
  EXPECT_NE(Stderr().find("not a colour"), std::string::npos);
  EXPECT_EQ(Run("render x " + out + " --background clNoSuch"), 2);
}

TEST_F(RenderCli, NamedColoursAndStyleOptionsReachTheImage) {
  const std::string out = dir_.File("c.bmp");
  ASSERT_EQ(Run("render '■' " + out + " --size 30 --color clSkyBlue"), 0) << Stderr();
  const Bitmap plain = ReadBmpFile(out);
  // Full coverage over white keeps the text colour: clSkyBlue is A6 CA F0.
  EXPECT_EQ(plain.PixelAt(plain.Width() / 2, plain.Height() / 2), Rgb(0xA6, 0xCA, 0xF0));
  ASSERT_EQ(Run("render '■' " + out + " --size 30 --color clSkyBlue --underline"), 0);
  const Bitmap underlined = ReadBmpFile(out);
  EXPECT_GT(underlined.Height(), plain.Height());
  for (const char* style : {"--bold", "--italic"}) {
    ASSERT_EQ(Run("render '■' " + out + " --size 30 --color clSkyBlue " + style), 0);
    const Bitmap styled = ReadBmpFile(out);
    EXPECT_GT(styled.Width(), plain.Width()) << style;
  }
}

TEST_F(RenderCli, AnImpossibleSizeFailsWithAMessageAndNoFile) {
  const std::string out = dir_.File("big.png");
  EXPECT_EQ(Run("render Huge " + out + " --size 2000000"), 1);
  EXPECT_NE(Stderr().find("文字サイズが大きすぎるため画像を作成できません"), std::string::npos);
  EXPECT_EQ(dir_.Entries(), 2u);  // only the captured output streams
  EXPECT_EQ(Run("render x " + out + " --dpi 0"), 2);
}

TEST_F(RenderCli, TakesTheStyleFromASettingsFileWithOptionsOverridingIt) {
  const std::string ini = dir_.File("glyphary.INI");
  const std::string out = dir_.File("c.bmp");
  WriteWholeFile(ini, Bytes("[Font]\nSize=$1A\nBold=1\nItalic=1\n"
                            "[Color]\nDrawColor=clred\nBGColor=clYellow\n"));
  ASSERT_EQ(Run("render Ab " + out + " --settings " + ini + " --no-italic --size 20"), 0)
      << Stderr();
  CaptionStyle style;
  style.pointSize = 20;
  style.bold = true;
  style.textColor = Rgb(255, 0, 0);
  style.backgroundColor = Rgb(255, 255, 0);
  ExpectRenders(out, "Ab", style);
}

// The export options of the file reach the written file: the JPEG is the
// writer's at the file's quality, byte for byte; the PNG has the file's
// transparency and colour depth.
TEST_F(RenderCli, TheSettingsFileCarriesItsExportOptionsIntoTheWrittenFile) {
  const std::string ini = dir_.File("glyphary.INI");
  WriteWholeFile(ini, Bytes("[JPEG]\nRate=35\n[PNG]\nTransParent=1\n256Color=0\n"
                            "[Color]\nBGColor=clYellow\n"));
  ASSERT_EQ(Run("render Ab " + dir_.File("c.jpg") + " --settings " + ini), 0) << Stderr();
  CaptionStyle style;
  style.backgroundColor = Rgb(255, 255, 0);
  FontEngine engine;
  Bitmap caption;
  RenderCaption(caption, "Ab", style, engine);
  WriteJpegFile(caption, 35, dir_.File("expected.jpg"));
  EXPECT_EQ(ReadAll(dir_.File("c.jpg")), ReadAll(dir_.File("expected.jpg")));

  ASSERT_EQ(Run("render Ab " + dir_.File("c.png") + " --settings " + ini), 0) << Stderr();
  PngFacts png = ReadPng(dir_.File("c.png"));
  EXPECT_EQ(png.colorType, PNG_COLOR_TYPE_RGB);  // transparent, yet full colour as the file says
  EXPECT_EQ(png.transparentColor, Rgb(255, 255, 0));

  WriteWholeFile(ini, Bytes("[PNG]\nTransParent=0\n256Color=1\n"));
  ASSERT_EQ(Run("render Ab " + dir_.File("c.png") + " --settings " + ini), 0) << Stderr();
  png = ReadPng(dir_.File("c.png"));
  EXPECT_EQ(png.colorType, PNG_COLOR_TYPE_PALETTE);
  EXPECT_FALSE(png.transparency);
}

TEST_F(RenderCli, ASettingsFileThatCannotBeUsedFailsWithItsMessage) {
  const std::string ini = dir_.File("bad.INI");
  const std::string out = dir_.File("c.bmp");
  EXPECT_EQ(Run("render x " + out + " --settings " + dir_.File("missing.INI")), 1);
  EXPECT_NE(Stderr().find("missing.INI を読み込めません"), std::string::npos);
  WriteWholeFile(ini, Bytes("[Color]\nDrawColor=reddish\n"));
  EXPECT_EQ(Run("render x " + out + " --settings " + ini), 1);
  EXPECT_NE(Stderr().find("'reddish' は整数ではありません (" + ini + " の [Color] DrawColor)"),
            std::string::npos)
      << Stderr();
  // A folder is no settings file, though it can be opened: refused, not defaults.
  EXPECT_EQ(Run("render x " + out + " --settings " + dir_.Path()), 1);
  EXPECT_NE(Stderr().find("を読み込めません (通常のファイルではありません)"), std::string::npos)
      << Stderr();
  EXPECT_EQ(Run("render x " + out + " --bold --no-bold"), 2);
}

TEST_F(RenderCli, FacesListsEveryFaceOrTheJapaneseOnes) {
  ASSERT_EQ(Run("faces"), 0);
  const std::string all = Stdout();
  EXPECT_NE(all.find("Default\n"), std::string::npos);
  EXPECT_NE(all.find("DejaVu Sans\n"), std::string::npos);
  ASSERT_EQ(Run("faces --japanese"), 0);
  const std::string japanese = Stdout();
  EXPECT_NE(japanese.find("ＭＳ Ｐゴシック\n"), std::string::npos);
  EXPECT_EQ(japanese.find("DejaVu"), std::string::npos);
  EXPECT_EQ(Run("faces extra"), 2);
}

}  // namespace
}  // namespace glyphary
