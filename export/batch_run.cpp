#include <algorithm>
#include <new>
#include <vector>

#include "export/batch_rows.h"
#include "export/export.h"

namespace glyphary {
namespace {

bool IsUsed(const BatchRow& row) {
  return !row.text.empty() && !row.name.empty();
}

}  // namespace

std::unique_ptr<FontEngine> OwnFontEngine(int dpi) {
  return std::make_unique<FontEngine>(dpi, FontEngine::FontMap::OwnForThisThread);
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

void BatchFailures::Add(std::optional<std::size_t> row, std::exception_ptr error) {
  std::lock_guard lock(mutex_);
  if (!row) {
    if (!noRowError_) noRowError_ = std::move(error);
  } else if (!firstRow_ || *row < *firstRow_) {
    firstRow_ = row;
    firstRowError_ = std::move(error);
  }
}

bool BatchFailures::Any() const {
  std::lock_guard lock(mutex_);
  return firstRow_ || noRowError_;
}

void BatchFailures::Rethrow(const std::vector<std::size_t>& used) const {
  std::lock_guard lock(mutex_);
  if (!firstRow_) std::rethrow_exception(noRowError_);
  try {
    std::rethrow_exception(firstRowError_);
  } catch (const Error& e) {
    throw BatchRowError(e.what(), used[*firstRow_]);
  }
}

namespace {

struct CheckedRun {
  std::vector<std::size_t> used;
  int jobs;  // no more than there are rows
};

// The one check of a batch, here where nothing can slip past it; callers
// word the problem from the exception.
CheckedRun Check(std::span<const BatchRow> rows, const BatchJob& job) {
  if (auto problem = CheckBatchRows(rows, job.folder)) throw BatchCheckError(*problem);
  std::vector<std::size_t> used = UsedRows(rows);
  const int jobs = std::clamp(job.jobs, 1, int(std::max<std::size_t>(used.size(), 1)));
  return {std::move(used), jobs};
}

}  // namespace

std::size_t ProduceBatch(std::span<const BatchRow> rows, const BatchJob& job, FontEngine& engine,
                         const BatchProgress& progress) {
  const CheckedRun run = Check(rows, job);
  return ProduceOnThreads(rows, run.used, job, run.jobs, engine, progress);
}

std::size_t ProduceBatchInProcesses(std::span<const BatchRow> rows, const BatchJob& job, int dpi,
                                    const BatchProgress& progress) {
  const CheckedRun run = Check(rows, job);
  if (run.used.empty()) return 0;
  return ProduceInProcesses(rows, run.used, job, run.jobs, dpi, progress);
}

}  // namespace glyphary
