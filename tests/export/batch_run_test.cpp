#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "export/export.h"
#include "export/jpeg_error.h"
#include "png_facts.h"
#include "test_support.h"

namespace glyphary {
namespace {

struct JpegSize {
  int width = 0, height = 0;
};

// Decodes a whole JPEG with libjpeg; a stream it rejects fails the test.
JpegSize DecodeJpeg(const std::string& path) {
  const std::vector<std::uint8_t> bytes = ReadBytes(path);
  jpeg_decompress_struct cinfo{};
  JpegErrorManager error{};
  cinfo.err = InstallJpegErrorManager(error);
  if (setjmp(error.jump)) {
    jpeg_destroy_decompress(&cinfo);
    ADD_FAILURE() << "libjpeg could not decode " << path;
    return {};
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&cinfo, TRUE);
  jpeg_start_decompress(&cinfo);
  std::vector<JSAMPLE> row(std::size_t(cinfo.output_width) * cinfo.output_components);
  JSAMPROW rows[1] = {row.data()};
  while (cinfo.output_scanline < cinfo.output_height) jpeg_read_scanlines(&cinfo, rows, 1);
  jpeg_finish_decompress(&cinfo);
  const JpegSize size{int(cinfo.output_width), int(cinfo.output_height)};
  jpeg_destroy_decompress(&cinfo);
  return size;
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
    EXPECT_EQ(facts.cornerAlpha, 0);
    EXPECT_EQ(facts.background, kBatchPngBackground);
  }
}

TEST_F(BatchRun, JpegsAreWrittenWithTheExtensionAppendedAndReplaceOldFiles) {
  WriteWholeFile(dir_.File("title.jpg"), Bytes("old contents"));
  const std::vector<BatchRow> rows = {{"JPEG 字幕", "title"}, {"x", "title.jpg"}};
  job_.options.jpegQuality = 95;
  ProduceBatch(rows, job_, engine_);
  const Bitmap expected = Rendered("JPEG 字幕");
  const JpegSize size = DecodeJpeg(dir_.File("title.jpg"));
  EXPECT_EQ(size.width, expected.Width());
  EXPECT_EQ(size.height, expected.Height());
  EXPECT_GT(DecodeJpeg(dir_.File("title.jpg.jpg")).width, 0);
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
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), BatchFaultMessage(BatchFault::ForbiddenCharacter));
  }
  EXPECT_EQ(dir_.Entries(), 0u);
}

TEST_F(BatchRun, ASeparatorIsInsertedEvenAfterATrailingOne) {
  job_.folder = dir_.Path() + "/";
  job_.format = ImageFormat::Bmp;
  EXPECT_EQ(ProduceBatch(std::vector<BatchRow>{{"", ""}, {"x", "n"}}, job_, engine_), 1u);
  EXPECT_TRUE(std::filesystem::exists(dir_.File("n.bmp")));
}

}  // namespace
}  // namespace glyphary
