#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include "export/export.h"

namespace glyphary {
namespace {

bool IsUsed(const BatchRow& row) {
  return !row.text.empty() && !row.name.empty();
}

std::vector<std::size_t> UsedRows(std::span<const BatchRow> rows) {
  std::vector<std::size_t> used;
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (IsUsed(rows[i])) used.push_back(i);
  return used;
}

void MakeRow(const BatchRow& row, const BatchJob& job, FontEngine& engine) {
  const Bitmap caption = CaptionFor(row.text, job.style, job.format, job.options, engine);
  WriteImageFile(caption, job.folder + "/" + row.name + ExtensionOf(job.format), job.format,
                 job.options, job.style.backgroundColor, ExportRun::Batch);
}

// What a failing row throws: its message and where it stands, or running
// out of memory as it is.
[[noreturn]] void RethrowForRow(std::exception_ptr failure, std::size_t row) {
  try {
    std::rethrow_exception(failure);
  } catch (const Error& e) {
    throw BatchRowError(e.what(), row);
  }
}

using Progress = std::function<void(std::size_t, std::size_t)>;

// Rows are handed out in row order; once one fails no further row begins.
// The calling thread works too, with the caller's engine, and alone reports
// progress, so that progress never leaves it.
class ParallelRun {
 public:
  ParallelRun(std::span<const BatchRow> rows, const std::vector<std::size_t>& used,
              const BatchJob& job, FontEngine& engine)
      : rows_(rows), used_(used), job_(job), engine_(engine) {}

  std::size_t Run(int jobs, const Progress& progress) {
    std::vector<std::jthread> helpers;
    // Declared after the helpers, so that it runs first: whatever leaves Run,
    // a throwing progress report included, stops the helpers before they are
    // joined.
    const StopOnExit stopOnExit{stop_};
    for (int i = 1; i < jobs; ++i)
      helpers.emplace_back([this] {
        try {
          FontEngine own(engine_.Dpi(), FontEngine::FontMap::OwnForThisThread);
          Work(own, {});
        } catch (...) {
          Fail(std::min(next_.load(), used_.size() - 1), std::current_exception());
        }
        std::lock_guard lock(mutex_);
        ++helpersDone_;
        allDone_.notify_one();
      });
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
    if (!failures_.empty()) {
      const auto first =
          std::min_element(failures_.begin(), failures_.end(),
                           [](const Failure& a, const Failure& b) { return a.row < b.row; });
      RethrowForRow(first->error, used_[first->row]);
    }
    return done_;
  }

 private:
  struct StopOnExit {
    std::atomic<bool>& stop;
    ~StopOnExit() { stop = true; }
  };

  struct Failure {
    std::size_t row;  // index into the used rows
    std::exception_ptr error;
  };

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

  void Fail(std::size_t row, std::exception_ptr error) {
    stop_ = true;
    std::lock_guard lock(mutex_);
    failures_.push_back({row, std::move(error)});
  }

  std::span<const BatchRow> rows_;
  const std::vector<std::size_t>& used_;
  const BatchJob& job_;
  FontEngine& engine_;
  std::atomic<std::size_t> next_{0}, done_{0};
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::condition_variable allDone_;
  std::size_t helpersDone_ = 0;
  std::vector<Failure> failures_;
};

}  // namespace

std::size_t ProduceBatch(std::span<const BatchRow> rows, const BatchJob& job, FontEngine& engine,
                         const Progress& progress) {
  // A name with a separator would write outside the folder: never trust the caller to have checked.
  if (auto problem = CheckBatchRows(rows, job.folder))
    throw Error(BatchFaultMessage(problem->fault));
  const std::vector<std::size_t> used = UsedRows(rows);
  const int jobs = std::clamp(job.jobs, 1, int(std::max<std::size_t>(used.size(), 1)));
  return ParallelRun(rows, used, job, engine).Run(jobs, progress);
}

}  // namespace glyphary
