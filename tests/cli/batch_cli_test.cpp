#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli/cli_fixture.h"
#include "export/export.h"
#include "render/render.h"

namespace glyphary {
namespace {

class BatchCli : public CliTest {
 protected:
  BatchCli() { std::filesystem::create_directory(out_); }

  std::string List(const std::string& contents) {
    WriteWholeFile(dir_.File("list.txt"), Bytes(contents));
    return dir_.File("list.txt");
  }
  int RunBatch(const std::string& contents, const std::string& options = "") {
    return RunCli("batch " + List(contents) + " --folder " + out_ + " " + options);
  }
  std::size_t Written() const {
    return std::size_t(std::distance(std::filesystem::directory_iterator(out_),
                                     std::filesystem::directory_iterator()));
  }
  static Bitmap Rendered(const std::string& text, const CaptionStyle& style = {}) {
    FontEngine engine;
    Bitmap b;
    RenderCaption(b, text, style, engine);
    return b;
  }

  const std::string out_ = dir_.File("out");
};

TEST_F(BatchCli, WritesEveryRowWithTheStyleGivenAndSkipsBlankLines) {
  ASSERT_EQ(RunBatch("日本語 Caption\tone\n\n   \t  \r\n\n二番目 second\ttwo\r\n",
                     "--format bmp --size 40 --bold --color clNavy"),
            0)
      << Stderr();
  CaptionStyle style;
  style.pointSize = 40;
  style.bold = true;
  style.textColor = Rgb(0, 0, 128);
  ExpectSameImage(ReadBmpFile(out_ + "/one.bmp"), Rendered("日本語 Caption", style));
  ExpectSameImage(ReadBmpFile(out_ + "/two.bmp"), Rendered("二番目 second", style));
  EXPECT_TRUE(std::filesystem::exists(out_ + "/  .bmp"));  // spaces are a name, not a blank row
  EXPECT_EQ(Written(), 3u);
}

TEST_F(BatchCli, ReadsStandardInputAndWritesJpegByDefault) {
  List("first\ta\nsecond\tb\n");
  ASSERT_EQ(RunCli("batch - --folder " + out_ + " < " + dir_.File("list.txt")), 0) << Stderr();
  EXPECT_TRUE(std::filesystem::exists(out_ + "/a.jpg"));
  EXPECT_TRUE(std::filesystem::exists(out_ + "/b.jpg"));
  EXPECT_EQ(Written(), 2u);
}

TEST_F(BatchCli, ChecksEveryRowAndNamesTheLineWritingNothing) {
  EXPECT_EQ(RunBatch("a\tx\n\nb\tx\nlonely\nc\ty\n"), 1);
  EXPECT_NE(Stderr().find("4 行目: 正しく入力されていない項目があります"), std::string::npos)
      << Stderr();
  EXPECT_EQ(RunBatch("a\tTitle\nb\ttitle\n\nc\tTitle\n"), 1);
  EXPECT_NE(Stderr().find("4 行目: ファイル名に重複があります (1 行目と同じ)"), std::string::npos)
      << Stderr();
  EXPECT_EQ(RunBatch("a\tok\nb\t表\nc\tあ/\n"), 1);
  EXPECT_NE(Stderr().find("3 行目: ファイル名に \\ / : ? < > | は使えません"), std::string::npos)
      << Stderr();
  EXPECT_EQ(RunBatch(std::string("a\tok\nb\tcut\0.png\n", 16)), 1);
  EXPECT_NE(Stderr().find("2 行目: NUL 文字は使えません"), std::string::npos) << Stderr();
  EXPECT_EQ(Written(), 0u);
}

TEST_F(BatchCli, AFailingWriteNamesItsLineAndKeepsTheEarlierFiles) {
  std::filesystem::create_directory(out_ + "/r2.png");
  // Blank lines before the failing row count as lines all the same. One job:
  // with more, the rows after the failing one may be under way already.
  EXPECT_EQ(RunBatch("one\tr1\n\n\ntwo\tr2\nthree\tr3\n", "--format png --jobs 1"), 1);
  EXPECT_NE(Stderr().find("4 行目: ファイル " + out_ + "/r2.png を作成できません"),
            std::string::npos)
      << Stderr();
  EXPECT_TRUE(std::filesystem::exists(out_ + "/r1.png"));
  EXPECT_FALSE(std::filesystem::exists(out_ + "/r3.png"));
}

TEST_F(BatchCli, RendersAThousandRowsInOneRun) {
  std::string list;
  for (int i = 1; i <= 1000; ++i)
    list += "字幕 caption " + std::to_string(i) + "\tc" + std::to_string(i) + "\n";
  ASSERT_EQ(RunBatch(list, "--format png --transparent"), 0) << Stderr();
  EXPECT_EQ(Written(), 1000u);
  EXPECT_GT(std::filesystem::file_size(out_ + "/c1000.png"), 0u);
}

// Rows made on several threads give the same files as one thread.
TEST_F(BatchCli, JobsWriteTheSameFilesAsOneThread) {
  std::string list;
  for (int i = 1; i <= 24; ++i)
    list += "行 gyj " + std::to_string(i) + "\tr" + std::to_string(i) + "\n";
  ASSERT_EQ(RunBatch(list, "--format bmp --jobs 1"), 0) << Stderr();
  std::filesystem::rename(out_, dir_.File("one"));
  std::filesystem::create_directory(out_);
  ASSERT_EQ(RunBatch(list, "--format bmp --jobs 4"), 0) << Stderr();
  ASSERT_EQ(Written(), 24u);
  for (int i = 1; i <= 24; ++i) {
    const std::string name = "/r" + std::to_string(i) + ".bmp";
    EXPECT_EQ(ReadAll(out_ + name), ReadAll(dir_.File("one") + name)) << name;
  }
  EXPECT_EQ(RunBatch(list, "--jobs 0"), 2);
}

TEST_F(BatchCli, RefusesAWrongCommandLine) {
  EXPECT_EQ(RunCli("batch " + List("a\tb\n")), 2);
  EXPECT_NE(Stderr().find("--folder"), std::string::npos);
  EXPECT_EQ(RunCli("batch " + List("a\tb\n") + " --folder ''"), 2);
  // A format is a name, not a path that ends in one.
  for (const char* format : {"gif", ".png", "x.png", "out/x.png"})
    EXPECT_EQ(RunBatch("a\tb\n", std::string("--format ") + format), 2) << format;
  EXPECT_EQ(RunBatch("a\tb\n", "--quality 5"), 2);
  EXPECT_EQ(RunCli("batch " + dir_.File("missing.txt") + " --folder " + out_), 1);
  EXPECT_EQ(Written(), 0u);
}

}  // namespace
}  // namespace glyphary
