// The batch in worker processes. A suite of its own: the process that forks
// the workers must not have used fonts, so nothing here draws in this process.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "export/batch_rows.h"
#include "export/export.h"
#include "test_support.h"

namespace glyphary {
namespace {

constexpr int kDpi = 96;

std::string Numbered(const char* prefix, int number) {
  std::string name = prefix;
  name += std::to_string(number);
  return name;
}

// Runs `body` in a forked child, where fonts may be used; whether it ran through.
bool InChild(const std::function<void()>& body) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    try {
      body();
    } catch (...) {
      ::_exit(1);
    }
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Whether this process has a child left, running or not yet waited for.
bool AnyChildLeft() {
  return !(::waitpid(-1, nullptr, WNOHANG) < 0 && errno == ECHILD);
}

class BatchProcesses : public ::testing::Test {
 protected:
  BatchProcesses() { job_.folder = dir_.Path(); }

  TempDir dir_;
  BatchJob job_;
};

// The files are those threads make, byte for byte, whatever the number of
// workers; progress comes on the calling thread, once for each file, in order.
TEST_F(BatchProcesses, WriteTheFilesThreadsWriteAndReportEachInOrder) {
  std::vector<BatchRow> rows;
  for (int i = 0; i < 30; ++i)
    rows.push_back({Numbered("字幕 ", i) + (i % 3 ? " gyj" : " Éx"), Numbered("c", i)});
  rows.insert(rows.begin() + 7, BatchRow{});
  job_.format = ImageFormat::Bmp;
  TempDir threads;
  ASSERT_TRUE(InChild([&] {
    BatchJob job = job_;
    job.folder = threads.Path();
    job.jobs = 2;
    FontEngine engine;
    ProduceBatch(rows, job, engine);
  }));
  for (int jobs : {1, 3}) {
    SCOPED_TRACE(jobs);
    TempDir out;
    job_.folder = out.Path();
    job_.jobs = jobs;
    const std::thread::id caller = std::this_thread::get_id();
    std::vector<std::size_t> reports;
    EXPECT_EQ(ProduceBatchInProcesses(rows, job_, kDpi,
                                      [&](std::size_t done, std::size_t total) {
                                        EXPECT_EQ(std::this_thread::get_id(), caller);
                                        EXPECT_EQ(total, 30u);
                                        reports.push_back(done);
                                      }),
              30u);
    ASSERT_EQ(reports.size(), 30u);
    for (std::size_t i = 0; i < reports.size(); ++i) EXPECT_EQ(reports[i], i + 1);
    for (const BatchRow& row : rows) {
      if (row.name.empty()) continue;
      EXPECT_EQ(ReadAll(out.File(row.name + ".bmp")), ReadAll(threads.File(row.name + ".bmp")))
          << row.name;
    }
    EXPECT_FALSE(AnyChildLeft());
  }
}

TEST_F(BatchProcesses, TheFirstFailingRowIsNamedAndEveryRowBeforeItWritten) {
  std::vector<BatchRow> rows;
  for (int i = 0; i < 30; ++i) rows.push_back({Numbered("行 ", i), Numbered("r", i)});
  for (int bad : {12, 20})
    std::filesystem::create_directory(dir_.File(Numbered("r", bad) + ".png"));
  job_.format = ImageFormat::Png;
  job_.jobs = 2;
  try {
    ProduceBatchInProcesses(rows, job_, kDpi);
    FAIL() << "no error";
  } catch (const BatchRowError& e) {
    EXPECT_EQ(e.Row(), 12u);
    EXPECT_THAT(e.what(),
                ::testing::StartsWith("ファイル " + dir_.File("r12.png") + " を作成できません ("));
  }
  for (int i = 0; i < 12; ++i)
    EXPECT_TRUE(std::filesystem::is_regular_file(dir_.File(Numbered("r", i) + ".png"))) << i;
}

// The workers finish the rows under way and are waited for before the
// report's error leaves the run.
TEST_F(BatchProcesses, AThrowingProgressReportEndsTheRunAfterTheWorkers) {
  std::vector<BatchRow> rows;
  for (int i = 0; i < 30; ++i) rows.push_back({Numbered("行 ", i), Numbered("r", i)});
  job_.format = ImageFormat::Bmp;
  job_.jobs = 2;
  try {
    ProduceBatchInProcesses(rows, job_, kDpi, [](std::size_t done, std::size_t) {
      if (done == 3) throw std::runtime_error("stopped");
    });
    FAIL() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "stopped");
  }
  EXPECT_FALSE(AnyChildLeft());
  EXPECT_LT(dir_.Entries(), 30u);
}

class BatchProcessesStart : public BatchProcesses {
 protected:
  BatchProcessesStart() {
    job_.format = ImageFormat::Bmp;
    for (int i = 0; i < 12; ++i) rows_.push_back({"行 " + std::to_string(i), std::to_string(i)});
  }
  void Run(const EngineMaker& maker) {
    ProduceInProcesses(rows_, UsedRows(rows_), job_, 2, kDpi, {}, maker);
  }
  std::vector<BatchRow> rows_;
};

TEST_F(BatchProcessesStart, AFontEngineThatFailsToStartEndsTheRunNamingNoRow) {
  try {
    Run([](int) -> std::unique_ptr<FontEngine> { throw Error("フォントを初期化できません"); });
    FAIL() << "no error";
  } catch (const BatchRowError& e) {
    FAIL() << "names row " << e.Row() << ": " << e.what();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "フォントを初期化できません");
  }
}

// Workers that die before making a row leave every row unmade: the run fails
// at the first of them instead of reporting success.
TEST_F(BatchProcessesStart, WorkersThatDieFailTheRunAtTheFirstRowLeftUnmade) {
  try {
    Run([](int) -> std::unique_ptr<FontEngine> {
      ::raise(SIGKILL);
      return nullptr;
    });
    FAIL() << "no error";
  } catch (const BatchRowError& e) {
    EXPECT_EQ(e.Row(), 0u);
    EXPECT_STREQ(e.what(), "作業プロセスが異常終了しました (シグナル 9)");
  }
  EXPECT_EQ(dir_.Entries(), 0u);
}

// A fork copies only the calling thread, and whatever locks the others hold.
TEST_F(BatchProcessesStart, NothingIsForkedWhileAnotherThreadRuns) {
  std::mutex mutex;
  std::condition_variable done;
  bool finished = false;
  std::thread other([&] {
    std::unique_lock lock(mutex);
    done.wait(lock, [&] { return finished; });
  });
  EXPECT_EQ(ErrorOf([&] { ProduceBatchInProcesses(rows_, job_, kDpi); }),
            "作業プロセスを作れません (このプロセスでは他のスレッドが動いています)");
  {
    std::lock_guard lock(mutex);
    finished = true;
  }
  done.notify_one();
  other.join();
  EXPECT_FALSE(AnyChildLeft());
  EXPECT_EQ(dir_.Entries(), 0u);
}

}  // namespace
}  // namespace glyphary
