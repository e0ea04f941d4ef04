#include <gtest/gtest.h>

#include "cli/output.h"

namespace glyphary::cli {
namespace {

ExportOptions Parse(const std::vector<std::string>& words, ExportOptions base = {}) {
  return ExportOptionsFromArgs(Args(words, OutputOptionSpecs()), base);
}

TEST(OutputOptions, TransparentBringsTwoHundredFiftySixColoursUnlessToldOtherwise) {
  EXPECT_TRUE(Parse({"--transparent"}).png256Colors);
  const ExportOptions o = Parse({"--transparent", "--no-256"});
  EXPECT_TRUE(o.pngTransparent);
  EXPECT_FALSE(o.png256Colors);
  EXPECT_TRUE(Parse({"--256"}).png256Colors);
  EXPECT_FALSE(Parse({"--256"}).pngTransparent);
}

TEST(OutputOptions, QualityOutsideItsRangeIsAUsageError) {
  EXPECT_EQ(Parse({"--quality", "10"}).jpegQuality, 10);
  EXPECT_EQ(Parse({"--quality=100"}).jpegQuality, 100);
  EXPECT_THROW(Parse({"--quality", "9"}), UsageError);
  EXPECT_THROW(Parse({"--quality", "7x"}), UsageError);
  EXPECT_THROW(Parse({"--quality"}), UsageError);
  EXPECT_EQ(Parse({}, ExportOptions{55, false, false}).jpegQuality, 55);
}

TEST(OutputOptions, FormatFollowsTheExtensionInAnyCase) {
  EXPECT_EQ(FormatForPath("a/b.JPEG"), ImageFormat::Jpeg);
  EXPECT_EQ(FormatForPath("x.Png"), ImageFormat::Png);
  EXPECT_EQ(FormatForPath("x.bmp"), ImageFormat::Bmp);
  EXPECT_THROW(FormatForPath("x.gif"), UsageError);
  EXPECT_THROW(FormatForPath("dir.png/file"), UsageError);
}

}  // namespace
}  // namespace glyphary::cli
