#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <functional>
#include <string>
#include <vector>

#include "export/batch_rows.h"
#include "export/export.h"
#include "test_support.h"

namespace glyphary {
namespace {

// The workers other than the caller, made to fail as they start.
class BatchWorkerStart : public ::testing::Test {
 protected:
  BatchWorkerStart() {
    job_.folder = dir_.Path();
    job_.format = ImageFormat::Bmp;
    for (int i = 0; i < 12; ++i) rows_.push_back({"行 " + std::to_string(i), std::to_string(i)});
  }

  // Runs the rows on two threads or two processes with `maker`.
  void Run(BatchWorkers workers, const EngineMaker& maker) {
    const std::vector<std::size_t> used = UsedRows(rows_);
    if (workers == BatchWorkers::Threads)
      ProduceOnThreads(rows_, used, job_, 2, engine_, {}, maker);
    else
      ProduceInProcesses(rows_, used, job_, 2, engine_.Dpi(), {}, maker);
  }

  TempDir dir_;
  FontEngine engine_;
  BatchJob job_;
  std::vector<BatchRow> rows_;
};

// No row of the worker's failed: the run ends with the engine's own message
// and names no row, rather than one the worker never made.
TEST_F(BatchWorkerStart, AFontEngineThatFailsToStartEndsTheRunNamingNoRow) {
  const EngineMaker failing = [](int) -> std::unique_ptr<FontEngine> {
    throw Error("フォントを初期化できません");
  };
  for (const BatchWorkers workers : {BatchWorkers::Threads, BatchWorkers::Processes}) {
    SCOPED_TRACE(int(workers));
    try {
      Run(workers, failing);
      ADD_FAILURE() << "no error";
    } catch (const BatchRowError& e) {
      ADD_FAILURE() << "names row " << e.Row() << ": " << e.what();
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), "フォントを初期化できません");
    }
  }
}

// Workers that die before making a row leave every row unmade: the run fails
// at the first of them instead of reporting success.
TEST_F(BatchWorkerStart, WorkerProcessesThatDieFailTheRunAtTheFirstRowLeftUnmade) {
  const EngineMaker dying = [](int) -> std::unique_ptr<FontEngine> {
    ::raise(SIGKILL);
    return nullptr;
  };
  try {
    Run(BatchWorkers::Processes, dying);
    FAIL() << "no error";
  } catch (const BatchRowError& e) {
    EXPECT_EQ(e.Row(), 0u);
    EXPECT_STREQ(e.what(), "作業プロセスが異常終了しました (シグナル 9)");
  }
  EXPECT_EQ(dir_.Entries(), 0u);
}

}  // namespace
}  // namespace glyphary
