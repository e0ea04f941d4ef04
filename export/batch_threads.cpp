// A batch's rows made on threads of this process, each with a font engine
// and font map of its own.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "export/batch_rows.h"

namespace glyphary {
namespace {

// Rows are handed out in row order; once one fails no further row begins.
// The calling thread works too, with the caller's engine, and alone reports
// progress, so that progress never leaves it.
class ParallelRun {
 public:
  ParallelRun(std::span<const BatchRow> rows, const std::vector<std::size_t>& used,
              const BatchJob& job, FontEngine& engine, const EngineMaker& makeEngine)
      : rows_(rows), used_(used), job_(job), engine_(engine), makeEngine_(makeEngine) {}

  std::size_t Run(int jobs, const BatchProgress& progress) {
    std::vector<std::jthread> helpers;
    // Declared after the helpers, so that it runs first: whatever leaves Run,
    // a throwing progress report included, stops the helpers before they are
    // joined.
    const StopOnExit stopOnExit{stop_};
    for (int i = 1; i < jobs; ++i) helpers.emplace_back([this] { Help(); });
    std::size_t reported = 0;
    const auto report = [&] {
      for (const std::size_t done = done_.load(); progress && reported < done;)
        progress(++reported, used_.size());
    };
    Work(engine_, report);
    {
      std::unique_lock lock(mutex_);
      while (!allDone_.wait_for(lock, std::chrono::milliseconds(50),
                                [&] { return helpersDone_ == helpers.size(); })) {
        lock.unlock();
        report();
        lock.lock();
      }
    }
    helpers.clear();
    report();
    if (failures_.Any()) failures_.Rethrow(used_);
    return done_;
  }

 private:
  struct StopOnExit {
    std::atomic<bool>& stop;
    ~StopOnExit() { stop = true; }
  };

  void Help() {
    std::unique_ptr<FontEngine> own;
    try {
      own = makeEngine_(engine_.Dpi());
    } catch (...) {
      // No row of this thread's failed: the run ends with the engine's own error.
      Fail(std::nullopt, std::current_exception());
    }
    if (own) Work(*own, {});
    std::lock_guard lock(mutex_);
    ++helpersDone_;
    allDone_.notify_one();
  }

  void Work(FontEngine& engine, const std::function<void()>& afterEachRow) {
    for (std::size_t i; !stop_ && (i = next_++) < used_.size();) {
      try {
        MakeRow(rows_[used_[i]], job_, engine);
      } catch (...) {
        Fail(i, std::current_exception());
        return;
      }
      ++done_;
      if (afterEachRow) afterEachRow();
    }
  }

  void Fail(std::optional<std::size_t> row, std::exception_ptr error) {
    stop_ = true;
    failures_.Add(row, std::move(error));
  }

  std::span<const BatchRow> rows_;
  const std::vector<std::size_t>& used_;
  const BatchJob& job_;
  FontEngine& engine_;
  const EngineMaker& makeEngine_;
  std::atomic<std::size_t> next_{0}, done_{0};
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::condition_variable allDone_;
  std::size_t helpersDone_ = 0;
  BatchFailures failures_;
};

}  // namespace

std::size_t ProduceOnThreads(std::span<const BatchRow> rows, const std::vector<std::size_t>& used,
                             const BatchJob& job, int jobs, FontEngine& engine,
                             const BatchProgress& progress, const EngineMaker& makeEngine) {
  return ParallelRun(rows, used, job, engine, makeEngine).Run(jobs, progress);
}

}  // namespace glyphary
