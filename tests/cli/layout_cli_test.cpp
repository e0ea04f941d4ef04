// The layout options of render, and its text from a file.
#include <gtest/gtest.h>

#include <string>

#include "cli/cli_fixture.h"
#include "export/export.h"
#include "render/render.h"

namespace glyphary {
namespace {

class LayoutCli : public CliTest {
 protected:
  std::string out_ = dir_.File("c.bmp");
};

TEST_F(LayoutCli, LayoutOptionsAndRealLineBreaksReachTheCaption) {
  ASSERT_EQ(RunCli("render \"$(printf '縦書き\\n二列目')\" " + out_ +
                   " --vertical --align bottom --line-spacing 150 --letter-spacing -2"),
            0)
      << Stderr();
  CaptionStyle style;
  style.layout = {true, TextAlign::End, 150, -2};
  ExpectSameImage(ReadBmpFile(out_), Rendered("縦書き\n二列目", style));

  // Every name of an alignment: the sides of both directions.
  for (const auto& [name, align] : {std::pair{"left", TextAlign::Start},
                                    {"top", TextAlign::Start},
                                    {"centre", TextAlign::Center},
                                    {"right", TextAlign::End}}) {
    ASSERT_EQ(RunCli(std::string("render \"$(printf 'a\\nbbb')\" ") + out_ + " --align " + name),
              0);
    style = {};
    style.layout.align = align;
    ExpectSameImage(ReadBmpFile(out_), Rendered("a\nbbb", style));
  }
}

TEST_F(LayoutCli, TheTextComesFromAFileWithoutItsLastLineEnd) {
  const std::string text = dir_.File("text.txt");
  WriteWholeFile(text, Bytes("\xEF\xBB\xBF一行目\r\n二行目\r\n"));
  ASSERT_EQ(RunCli("render --text-file " + text + " " + out_), 0) << Stderr();
  ExpectSameImage(ReadBmpFile(out_), Rendered("一行目\n二行目", {}));

  WriteWholeFile(text, Bytes("\xFF\xFE"));
  EXPECT_EQ(RunCli("render --text-file " + text + " " + out_), 1);
  EXPECT_NE(Stderr().find("は UTF-8 のテキストではありません"), std::string::npos) << Stderr();
  EXPECT_EQ(RunCli("render --text-file " + dir_.File("none.txt") + " " + out_), 1);
  EXPECT_NE(Stderr().find("を読み込めません (ファイルが見つかりません)"), std::string::npos)
      << Stderr();
}

TEST_F(LayoutCli, AWrongLayoutIsAUsageError) {
  const std::pair<const char*, const char*> cases[] = {
      {"x --align middle", "--align takes start, center or end"},
      {"x --line-spacing 49", "--line-spacing must be between 50 and 300"},
      {"x --letter-spacing 51", "--letter-spacing must be between -10 and 50"},
      {"x --vertical --no-vertical", "--vertical and --no-vertical exclude each other"},
      {"--text-file a.txt x", "expected 1 arguments, got 2"},
  };
  for (const auto& [options, message] : cases) {
    EXPECT_EQ(RunCli(std::string("render ") + options + " " + out_), 2) << options;
    EXPECT_NE(Stderr().find(message), std::string::npos) << options << ": " << Stderr();
  }
}

}  // namespace
}  // namespace glyphary
