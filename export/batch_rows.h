// What the batch's two ways of running share: the used rows, making one row,
// the font engine each thread or worker process makes, and picking the
// failure to report.
#pragma once

#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "export/export.h"

namespace glyphary {

using BatchProgress = std::function<void(std::size_t done, std::size_t total)>;

// The font engine of a thread or worker process other than the caller's;
// tests hand in one that fails to start.
using EngineMaker = std::function<std::unique_ptr<FontEngine>(int dpi)>;
std::unique_ptr<FontEngine> OwnFontEngine(int dpi);

// The indexes of the used rows, in row order.
std::vector<std::size_t> UsedRows(std::span<const BatchRow> rows);

void MakeRow(const BatchRow& row, const BatchJob& job, FontEngine& engine);

// The failures of a run. The one reported is the lowest failing row, so that
// every row before it is written; a failure of no row (a font engine that did
// not start) only when no row failed. Safe to add to from several threads.
class BatchFailures {
 public:
  // `row` indexes the used rows.
  void Add(std::optional<std::size_t> row, std::exception_ptr error);
  bool Any() const;
  // A row's Error as BatchRowError naming rows[used[row]]; anything else as it is.
  [[noreturn]] void Rethrow(const std::vector<std::size_t>& used) const;

 private:
  mutable std::mutex mutex_;
  std::optional<std::size_t> firstRow_;
  std::exception_ptr firstRowError_, noRowError_;
};

// The used rows made on `jobs` threads, the calling one with `engine` among
// them; the others make their engines with `makeEngine`.
std::size_t ProduceOnThreads(std::span<const BatchRow> rows, const std::vector<std::size_t>& used,
                             const BatchJob& job, int jobs, FontEngine& engine,
                             const BatchProgress& progress,
                             const EngineMaker& makeEngine = OwnFontEngine);

// The used rows made by `jobs` worker processes forked from this one, each
// making its engine with `makeEngine`, while this one reports progress.
std::size_t ProduceInProcesses(std::span<const BatchRow> rows, const std::vector<std::size_t>& used,
                               const BatchJob& job, int jobs, int dpi,
                               const BatchProgress& progress,
                               const EngineMaker& makeEngine = OwnFontEngine);

}  // namespace glyphary
