#include <gtest/gtest.h>

#include <cstring>

#include "cli/cli_fixture.h"
#include "export/export.h"
#include "png_facts.h"
#include "resample/resample.h"

namespace glyphary {
namespace {

class StretchCli : public CliTest {
 protected:
  void SetUp() override {
    Bitmap input(7, 5);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 21; ++x) input.Row(y)[x] = std::uint8_t(x * 12 + y * 50);
    input_ = dir_.File("in.bmp");
    WriteBmpFile(input, input_);
  }

  int Run(const std::string& arguments) { return RunCli("stretch " + arguments); }

  std::string input_;
};

TEST_F(StretchCli, WritesWhatTheResamplerMakesInTheFormatOfTheExtension) {
  ASSERT_EQ(Run(input_ + " 12 9 " + dir_.File("out.bmp")), 0) << Stderr();
  EXPECT_EQ(Stderr(), "");  // no progress bar when standard error is not a terminal
  Bitmap expected = ReadBmpFile(input_);
  StretchBitmap(expected, 12, 9);
  ExpectSameImage(ReadBmpFile(dir_.File("out.bmp")), expected);

  ASSERT_EQ(Run(input_ + " 3 2 " + dir_.File("out.JPG") + " --quality 95"), 0) << Stderr();
  EXPECT_EQ(ReadBytes(dir_.File("out.JPG")).at(0), 0xFF);
}

// The transparent colour is the top-left pixel of the resized image: not the
// input's, not a pixel of another corner (rows lie bottom-up in memory).
TEST_F(StretchCli, TransparentTakesTheTopLeftPixelOfTheResult) {
  ASSERT_EQ(Run(input_ + " 3 2 " + dir_.File("out.png") + " --transparent --no-256"), 0)
      << Stderr();
  Bitmap resized = ReadBmpFile(input_);
  StretchBitmap(resized, 3, 2);
  const TColor topLeft = resized.PixelAt(0, 0);
  for (TColor other : {ReadBmpFile(input_).PixelAt(0, 0), resized.PixelAt(0, 1),
                       resized.PixelAt(2, 0), resized.PixelAt(2, 1)})
    ASSERT_NE(other, topLeft);
  const PngFacts png = ReadPng(dir_.File("out.png"));
  EXPECT_EQ(png.colorType, PNG_COLOR_TYPE_RGB);
  EXPECT_EQ(png.transparentColor, topLeft);
}

TEST_F(StretchCli, BadValuesAndFailedFilesExitWithOneAndAMessage) {
  WriteWholeFile(dir_.File("plain"), Bytes("x"));
  for (const std::string& arguments : {
           dir_.File("missing.bmp") + " 4 4 " + dir_.File("a.bmp"),
           dir_.File("plain") + " 4 4 " + dir_.File("a.bmp"),  // not a BMP
           input_ + " 0 4 " + dir_.File("a.bmp"), input_ + " 4 -3 " + dir_.File("a.bmp"),
           input_ + " 4x 4 " + dir_.File("a.bmp"),
           input_ + " 100000 100000 " + dir_.File("a.bmp"),  // beyond any bitmap
           input_ + " 4 4 " + dir_.File("plain/a.bmp"),      // parent is a file
       }) {
    EXPECT_EQ(Run(arguments), 1) << arguments;
    EXPECT_NE(Stderr().find("glyphary-cli stretch: "), std::string::npos) << arguments;
  }
  EXPECT_EQ(dir_.Entries(), 4u);  // in.bmp, plain, stdout, stderr: nothing half-written
}

TEST_F(StretchCli, WrongUseOfTheCommandLineExitsWithTwo) {
  for (const std::string& arguments : {
           input_ + " 4 4",
           input_ + " 4 4 " + dir_.File("a.bmp") + " extra",
           input_ + " 4 4 " + dir_.File("a.gif"),
           input_ + " 4 4 " + dir_.File("a.jpg") + " --quality 5",
           input_ + " 4 4 " + dir_.File("a.png") + " --256 --no-256",
           input_ + " 4 4 " + dir_.File("a.bmp") + " --fast",
       })
    EXPECT_EQ(Run(arguments), 2) << arguments;
  EXPECT_EQ(Run("--help"), 0);
  EXPECT_NE(ReadAll(dir_.File("stdout")).find("stretch INPUT WIDTH HEIGHT OUTPUT"),
            std::string::npos);
}

}  // namespace
}  // namespace glyphary
