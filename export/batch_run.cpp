#include <algorithm>
#include <array>

#include "export/export.h"

namespace glyphary {
namespace {

// Indexed by ImageFormat.
constexpr std::array<const char*, 3> kExtensions = {".bmp", ".png", ".jpg"};
static_assert(int(ImageFormat::Bmp) == 0 && int(ImageFormat::Png) == 1 &&
              int(ImageFormat::Jpeg) == 2);

bool IsUsed(const BatchRow& row) {
  return !row.text.empty() && !row.name.empty();
}

}  // namespace

std::size_t ProduceBatch(std::span<const BatchRow> rows, const BatchJob& job, FontEngine& engine,
                         const std::function<void(std::size_t, std::size_t)>& progress) {
  // A name with a separator would write outside the folder: never trust the caller to have checked.
  if (auto problem = CheckBatchRows(rows, job.folder))
    throw Error(BatchFaultMessage(problem->fault));
  const std::size_t total = std::size_t(std::count_if(rows.begin(), rows.end(), IsUsed));
  const std::string extension = kExtensions[std::size_t(job.format)];
  Bitmap working;
  std::size_t done = 0;
  for (const BatchRow& row : rows) {
    if (!IsUsed(row)) continue;
    RenderCaption(working, row.text, job.style, engine);
    WriteImageFile(working, job.folder + "/" + row.name + extension, job.format, job.options,
                   job.style.backgroundColor, ExportRun::Batch);
    ++done;
    if (progress) progress(done, total);
  }
  return done;
}

}  // namespace glyphary
