#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "export/export.h"
#include "jpeg_facts.h"
#include "png_facts.h"
#include "test_support.h"

namespace glyphary {
namespace {

// "r12": a prefix and a number.
std::string Numbered(const char* prefix, int number) {
  std::string name = prefix;
  name += std::to_string(number);
  return name;
}

class BatchRun : public ::testing::Test {
 protected:
  BatchRun() { job_.folder = dir_.Path(); }

  Bitmap Rendered(const std::string& text) {
    Bitmap b;
    RenderCaption(b, text, job_.style, engine_);
    return b;
  }

  TempDir dir_;
  FontEngine engine_;
  BatchJob job_;
};

TEST_F(BatchRun, WritesUsedRowsInRowOrderSkippingBlankOnes) {
  std::vector<BatchRow> rows(10);
  rows[0] = {"一番目 first", "one"};
  rows[3] = {"四番目", "four"};
  rows[8] = {"Ninth 九", "nine"};
  job_.format = ImageFormat::Bmp;
  std::vector<std::vector<bool>> seen;  // which files exist at each report
  const std::size_t written =
      ProduceBatch(rows, job_, engine_, [&](std::size_t done, std::size_t total) {
        EXPECT_EQ(total, 3u);
        EXPECT_EQ(done, seen.size() + 1);
        seen.push_back({});
        for (const char* name : {"one.bmp", "four.bmp", "nine.bmp"})
          seen.back().push_back(std::filesystem::exists(dir_.File(name)));
      });
  EXPECT_EQ(written, 3u);
  const std::vector<std::vector<bool>> expected = {
      {true, false, false}, {true, true, false}, {true, true, true}};
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(dir_.Entries(), 3u);
  for (const BatchRow& row : {rows[0], rows[3], rows[8]}) {
    const Bitmap file = ReadBmpFile(dir_.File(row.name + ".bmp"));
    const Bitmap expectedImage = Rendered(row.text);
    ASSERT_EQ(file.ImageSize(), expectedImage.ImageSize());
    EXPECT_EQ(std::memcmp(file.Bits(), expectedImage.Bits(), file.ImageSize()), 0) << row.name;
  }
}

TEST_F(BatchRun, TransparentPngsCarryTheTransparentColourAndMagentaBackground) {
  const std::vector<BatchRow> rows = {{"透明な字幕", "a"}, {"Second caption 二", "b"}};
  job_.format = ImageFormat::Png;
  job_.style.backgroundColor = Rgb(0, 128, 0);
  job_.options = {70, true, true};
  EXPECT_EQ(ProduceBatch(rows, job_, engine_), 2u);
  for (const BatchRow& row : rows) {
    SCOPED_TRACE(row.name);
    const PngFacts facts = ReadPng(dir_.File(row.name + ".png"));
    const Bitmap expected = Rendered(row.text);  // each reduced from its own fresh render
    EXPECT_EQ(facts.width, expected.Width());
    EXPECT_EQ(facts.height, expected.Height());
    EXPECT_TRUE(facts.palette);
    EXPECT_TRUE(facts.transparency);
    EXPECT_EQ(facts.CornerAlpha(), 0);
    EXPECT_EQ(facts.background, kBatchPngBackground);
  }
}

TEST_F(BatchRun, JpegsAreWrittenWithTheExtensionAppendedAndReplaceOldFiles) {
  WriteWholeFile(dir_.File("title.jpg"), Bytes("old contents"));
  const std::vector<BatchRow> rows = {{"JPEG 字幕", "title"}, {"x", "title.jpg"}};
  job_.options.jpegQuality = 95;
  ProduceBatch(rows, job_, engine_);
  const Bitmap expected = Rendered("JPEG 字幕");
  const JpegFacts size = ReadJpeg(dir_.File("title.jpg"));
  EXPECT_EQ(size.width, expected.Width());
  EXPECT_EQ(size.height, expected.Height());
  EXPECT_GT(ReadJpeg(dir_.File("title.jpg.jpg")).width, 0);
}

TEST_F(BatchRun, AFailingWriteStopsTheRunAndKeepsEarlierFiles) {
  std::filesystem::create_directory(dir_.File("two.png"));  // a folder where the file should go
  const std::vector<BatchRow> rows = {{"1", "one"}, {"2", "two"}, {"3", "three"}};
  job_.format = ImageFormat::Png;
  std::size_t reported = 0;
  try {
    ProduceBatch(rows, job_, engine_, [&](std::size_t done, std::size_t) { reported = done; });
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_THAT(e.what(),
                ::testing::StartsWith("ファイル " + dir_.File("two.png") + " を作成できません ("));
  }
  EXPECT_EQ(reported, 1u);
  EXPECT_EQ(ReadPng(dir_.File("one.png")).width, Rendered("1").Width());
  EXPECT_FALSE(std::filesystem::exists(dir_.File("three.png")));
  EXPECT_EQ(dir_.Entries(), 2u);
}

TEST_F(BatchRun, UncheckedRowsAreRefusedBeforeAnythingIsWritten) {
  const std::vector<BatchRow> rows = {{"fine", "fine"}, {"escape", "../outside"}};
  try {
    ProduceBatch(rows, job_, engine_);
    FAIL() << "no error";
  } catch (const BatchCheckError& e) {
    EXPECT_STREQ(e.what(), BatchFaultMessage(BatchFault::ForbiddenCharacter));
    EXPECT_EQ(e.Problem().fault, BatchFault::ForbiddenCharacter);
    EXPECT_EQ(e.Problem().row, 1u);
  }
  EXPECT_EQ(dir_.Entries(), 0u);
}

TEST_F(BatchRun, ASeparatorIsInsertedEvenAfterATrailingOne) {
  job_.folder = dir_.Path() + "/";
  job_.format = ImageFormat::Bmp;
  EXPECT_EQ(ProduceBatch(std::vector<BatchRow>{{"", ""}, {"x", "n"}}, job_, engine_), 1u);
  EXPECT_TRUE(std::filesystem::exists(dir_.File("n.bmp")));
}

// Several jobs make the same files, byte for byte, as one; progress comes
// on the calling thread, once for each file, in order.
TEST_F(BatchRun, SeveralJobsWriteTheSameFilesAndReportOnTheCallingThread) {
  std::vector<BatchRow> rows;
  for (int i = 0; i < 40; ++i) {
    rows.push_back({Numbered("字幕 ", i) + (i % 3 ? " gyj" : " Éx"), Numbered("c", i)});
  }
  rows.insert(rows.begin() + 7, BatchRow{});
  job_.format = ImageFormat::Bmp;
  TempDir one, three;
  job_.folder = one.Path();
  ProduceBatch(rows, job_, engine_);
  job_.folder = three.Path();
  job_.jobs = 3;
  const std::thread::id caller = std::this_thread::get_id();
  std::vector<std::size_t> reports;
  EXPECT_EQ(ProduceBatch(rows, job_, engine_,
                         [&](std::size_t done, std::size_t total) {
                           EXPECT_EQ(std::this_thread::get_id(), caller);
                           EXPECT_EQ(total, 40u);
                           reports.push_back(done);
                         }),
            40u);
  ASSERT_EQ(reports.size(), 40u);
  for (std::size_t i = 0; i < reports.size(); ++i) EXPECT_EQ(reports[i], i + 1);
  for (const BatchRow& row : rows) {
    if (row.name.empty()) continue;
    EXPECT_EQ(ReadAll(one.File(row.name + ".bmp")), ReadAll(three.File(row.name + ".bmp")))
        << row.name;
  }
}

// The failing row is the first one that fails, named by its place; the rows
// before it are all written.
TEST_F(BatchRun, WithSeveralJobsTheFirstFailingRowIsReportedAndEarlierRowsStay) {
  std::vector<BatchRow> rows;
  for (int i = 0; i < 30; ++i) rows.push_back({Numbered("行 ", i), Numbered("r", i)});
  for (int bad : {12, 20})
    std::filesystem::create_directory(dir_.File(Numbered("r", bad) + ".png"));
  job_.format = ImageFormat::Png;
  job_.jobs = 2;
  try {
    ProduceBatch(rows, job_, engine_);
    FAIL() << "no error";
  } catch (const BatchRowError& e) {
    EXPECT_EQ(e.Row(), 12u);
    EXPECT_THAT(e.what(),
                ::testing::StartsWith("ファイル " + dir_.File("r12.png") + " を作成できません ("));
  }
  for (int i = 0; i < 12; ++i)
    EXPECT_TRUE(std::filesystem::is_regular_file(dir_.File(Numbered("r", i) + ".png"))) << i;
}

// Every row fails (no folder), the first slowly: the later rows fail first on
// the other threads, and the first row is still the one named.
TEST_F(BatchRun, WhenEveryRowFailsTheFirstIsNamedWhateverFailedFirst) {
  std::vector<BatchRow> rows = {{std::string(60, 'W') + " 遅い行", "r0"}};
  for (int i = 1; i < 8; ++i) rows.push_back({"x", Numbered("r", i)});
  job_.folder = dir_.File("missing");
  job_.style.pointSize = 120;
  for (int jobs : {2, 4}) {
    SCOPED_TRACE(std::to_string(jobs) + " jobs");
    job_.jobs = jobs;
    try {
      ProduceBatch(rows, job_, engine_);
      ADD_FAILURE() << "no error";
    } catch (const BatchRowError& e) {
      EXPECT_EQ(e.Row(), 0u);
      EXPECT_THAT(e.what(), ::testing::HasSubstr(job_.folder + "/r0.jpg"));
    }
  }
}

// A progress report that throws ends the run with its own error, the other
// threads stopped and joined, whatever the number of jobs.
TEST_F(BatchRun, AThrowingProgressReportEndsTheRunWithItsError) {
  std::vector<BatchRow> rows;
  for (int i = 0; i < 30; ++i) rows.push_back({Numbered("行 ", i), Numbered("r", i)});
  job_.format = ImageFormat::Bmp;
  for (int jobs : {1, 2}) {
    job_.jobs = jobs;
    const auto stopAtThird = [](std::size_t done, std::size_t) {
      if (done == 3) throw std::runtime_error("stopped");
    };
    try {
      ProduceBatch(rows, job_, engine_, stopAtThird);
      ADD_FAILURE() << "no error with " << jobs << " jobs";
    } catch (const std::runtime_error& e) {
      EXPECT_STREQ(e.what(), "stopped") << jobs;
    }
    EXPECT_LT(std::distance(std::filesystem::directory_iterator(dir_.Path()),
                            std::filesystem::directory_iterator()),
              30)
        << jobs;
  }
}

// A PNG with the alpha option is the text colour with the ink as alpha.
TEST_F(BatchRun, AlphaPngsCarryTheTextColourAndTheInkAsAlpha) {
  job_.format = ImageFormat::Png;
  job_.style.textColor = Rgb(200, 40, 10);
  job_.style.backgroundColor = Rgb(255, 255, 255);
  job_.options = {70, true, true, true};
  ProduceBatch(std::vector<BatchRow>{{"アルファ gyj", "a"}}, job_, engine_);
  const PngFacts png = ReadPng(dir_.File("a.png"));
  Bitmap alpha;
  RenderAlphaCaption(alpha, "アルファ gyj", job_.style, engine_);
  EXPECT_EQ(png.colorType, 6);
  EXPECT_FALSE(png.transparentColor.has_value());
  EXPECT_EQ(png.background, kColorNone) << "the colour key options do not apply";
  ASSERT_EQ(png.width, alpha.Width());
  ASSERT_EQ(png.height, alpha.Height());
  for (int y = 0; y < png.height; ++y)
    for (int x = 0; x < png.width; ++x)
      ASSERT_EQ(png.At(x, y),
                std::uint32_t(Rgb(200, 40, 10)) | std::uint32_t(alpha.Row(y)[4 * x + 3]) << 24);
}

}  // namespace
}  // namespace glyphary
