// The batch run over ten captions of 23 mixed Japanese and Latin characters:
// the whole run per format and size, and its parts (rendering alone, encoding
// plus writing, writing the finished bytes alone) to show where the time goes.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "export/export.h"

namespace glyphary {
namespace {

struct Format {
  const char* label;
  ImageFormat format;
  ExportOptions options;
};

const std::array<Format, 4> kFormats = {{
    {"bmp", ImageFormat::Bmp, {}},
    {"png", ImageFormat::Png, {}},
    {"png transparent 256", ImageFormat::Png, {70, true, true}},
    {"jpg", ImageFormat::Jpeg, {}},
}};

std::vector<BatchRow> TenRows() {
  std::vector<BatchRow> rows;
  for (int i = 0; i < 10; ++i)
    rows.push_back(
        {"字幕テキスト Caption サンプル #0" + std::to_string(i), "row" + std::to_string(i)});
  return rows;
}

std::string ScratchFolder() {
  std::string templ = (std::filesystem::temp_directory_path() / "glyphary-bench-XXXXXX").string();
  return ::mkdtemp(templ.data());
}

BatchJob Job(const benchmark::State& state, const std::string& folder) {
  const Format& f = kFormats[std::size_t(state.range(0))];
  BatchJob job{folder, f.format, f.options, {}};
  job.style.pointSize = std::int32_t(state.range(1));
  return job;
}

void Label(benchmark::State& state) {
  state.SetLabel(std::string(kFormats[std::size_t(state.range(0))].label) + ", " +
                 std::to_string(state.range(1)) + " pt");
}

void BM_BatchOfTen(benchmark::State& state) {
  const std::string folder = ScratchFolder();
  const BatchJob job = Job(state, folder);
  const std::vector<BatchRow> rows = TenRows();
  FontEngine engine;
  for (auto _ : state) benchmark::DoNotOptimize(ProduceBatch(rows, job, engine));
  Label(state);
  std::filesystem::remove_all(folder);
}

void BM_RenderTen(benchmark::State& state) {
  const std::vector<BatchRow> rows = TenRows();
  CaptionStyle style;
  style.pointSize = std::int32_t(state.range(0));
  FontEngine engine;
  Bitmap working;
  for (auto _ : state)
    for (const BatchRow& row : rows) RenderCaption(working, row.text, style, engine);
}

std::vector<Bitmap> RenderedTen(int points) {
  CaptionStyle style;
  style.pointSize = points;
  FontEngine engine;
  std::vector<Bitmap> captions;
  for (const BatchRow& row : TenRows())
    RenderCaption(captions.emplace_back(), row.text, style, engine);
  return captions;
}

void BM_EncodeAndWriteTen(benchmark::State& state) {
  const std::string folder = ScratchFolder();
  const BatchJob job = Job(state, folder);
  const std::vector<Bitmap> captions = RenderedTen(job.style.pointSize);
  for (auto _ : state)
    for (std::size_t i = 0; i < captions.size(); ++i)
      WriteImageFile(captions[i], folder + "/" + std::to_string(i), job.format, job.options,
                     job.style.backgroundColor, ExportRun::Batch);
  Label(state);
  std::filesystem::remove_all(folder);
}

// The same files' bytes written again: the file system's share.
void BM_WriteOnlyTen(benchmark::State& state) {
  const std::string folder = ScratchFolder();
  const BatchJob job = Job(state, folder);
  const std::vector<Bitmap> captions = RenderedTen(job.style.pointSize);
  std::vector<std::vector<std::uint8_t>> files;
  for (std::size_t i = 0; i < captions.size(); ++i) {
    const std::string path = folder + "/" + std::to_string(i);
    WriteImageFile(captions[i], path, job.format, job.options, job.style.backgroundColor,
                   ExportRun::Batch);
    const auto size = std::filesystem::file_size(path);
    files.emplace_back(size, std::uint8_t(0));
  }
  for (auto _ : state)
    for (std::size_t i = 0; i < files.size(); ++i)
      WriteWholeFile(folder + "/" + std::to_string(i), files[i]);
  Label(state);
  std::filesystem::remove_all(folder);
}

void FormatsAndSizes(benchmark::internal::Benchmark* b) {
  for (int points : {25, 100})
    for (int format = 0; format < int(kFormats.size()); ++format) b->Args({format, points});
  b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_BatchOfTen)->Apply(FormatsAndSizes);
BENCHMARK(BM_RenderTen)->Arg(25)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeAndWriteTen)->Apply(FormatsAndSizes);
BENCHMARK(BM_WriteOnlyTen)->Apply(FormatsAndSizes);

}  // namespace
}  // namespace glyphary

BENCHMARK_MAIN();
