#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/batch_rows.h"
#include "export/export.h"
#include "test_support.h"

namespace glyphary {
namespace {

// A thread other than the caller's whose font engine fails to start names no
// row of its own: the run ends with the engine's message, not naming a row
// the thread never made.
TEST(BatchThreads, AFontEngineThatFailsToStartEndsTheRunNamingNoRow) {
  TempDir dir;
  BatchJob job;
  job.folder = dir.Path();
  job.format = ImageFormat::Bmp;
  std::vector<BatchRow> rows;
  for (int i = 0; i < 12; ++i) rows.push_back({"行 " + std::to_string(i), std::to_string(i)});
  FontEngine engine;
  const EngineMaker failing = [](int) -> std::unique_ptr<FontEngine> {
    throw Error("フォントを初期化できません");
  };
  try {
    ProduceOnThreads(rows, UsedRows(rows), job, 2, engine, {}, failing);
    FAIL() << "no error";
  } catch (const BatchRowError& e) {
    FAIL() << "names row " << e.Row() << ": " << e.what();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "フォントを初期化できません");
  }
}

}  // namespace
}  // namespace glyphary
