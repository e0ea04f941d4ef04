// PNG output of a caption-sized image: the reduction to 256 colours, the row
// conversion and the whole write, so that the zlib share can be told apart.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "export/export.h"
#include "export/png_writer.h"

namespace glyphary {
namespace {

// 2000 × 200, mostly white, with dark "glyphs": filled discs and bars whose
// edges are anti-aliased into many greys, as a rendered caption has.
Bitmap CaptionLike() {
  Bitmap b(2000, 200);
  b.Fill(kColorWhite);
  for (int y = 0; y < b.Height(); ++y) {
    std::uint8_t* row = b.Row(y);
    for (int x = 0; x < b.Width(); ++x) {
      const int cell = x / 100;
      const double cx = cell * 100 + 50, cy = 100, dx = x - cx, dy = y - cy;
      const double r = 30 + (cell % 3) * 8;
      const double disc = r - std::sqrt(dx * dx + dy * dy) + 0.5;
      const double bar = 6.5 - std::abs(dx + (y - 100) * 0.3);
      const double coverage = std::clamp(std::max(disc, y > 40 && y < 160 ? bar : 0.0), 0.0, 1.0);
      const std::uint8_t v = std::uint8_t(std::lround(255 * (1 - coverage)));
      row[x * 3] = v;
      row[x * 3 + 1] = v;
      row[x * 3 + 2] = std::uint8_t(std::min(255, v + 20));
    }
  }
  return b;
}

const Bitmap& Image24() {
  static const Bitmap image = CaptionLike();
  return image;
}

const Bitmap& Image8() {
  static const Bitmap image = [] {
    Bitmap b = CaptionLike();
    ReduceTo256Colors(b);
    return b;
  }();
  return image;
}

void BM_ReduceTo256Colors(benchmark::State& state) {
  for (auto _ : state) {
    Bitmap b = Image24();
    ReduceTo256Colors(b);
    benchmark::DoNotOptimize(b.Bits());
  }
}
BENCHMARK(BM_ReduceTo256Colors)->Unit(benchmark::kMillisecond);

void BM_CopyBitmap(benchmark::State& state) {  // the copy inside the reduction benchmark
  for (auto _ : state) {
    Bitmap b = Image24();
    benchmark::DoNotOptimize(b.Bits());
  }
}
BENCHMARK(BM_CopyBitmap)->Unit(benchmark::kMillisecond);

void ConvertAllRows(benchmark::State& state, const Bitmap& image) {
  std::vector<std::uint8_t> row(PngRowBytes(image));
  for (auto _ : state) {
    for (int y = 0; y < image.Height(); ++y) ConvertPngRow(image, y, row.data());
    benchmark::DoNotOptimize(row.data());
  }
}
void BM_ConvertRows24(benchmark::State& state) {
  ConvertAllRows(state, Image24());
}
void BM_ConvertRows8(benchmark::State& state) {
  ConvertAllRows(state, Image8());
}
BENCHMARK(BM_ConvertRows24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertRows8)->Unit(benchmark::kMillisecond);

// Writer into memory: row conversion and zlib, no file.
void EncodeToMemory(benchmark::State& state, const Bitmap& image) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    PngOutputBuffer out([&](std::span<const std::uint8_t> b) { bytes += b.size(); });
    PngWriter(out, PngTime{2024, 1, 1, 0, 0, 0}).Write(image, kColorWhite, kColorNone);
    out.Flush();
  }
  state.counters["file_bytes"] = double(bytes);
}
void BM_EncodeToMemory24(benchmark::State& state) {
  EncodeToMemory(state, Image24());
}
void BM_EncodeToMemory8(benchmark::State& state) {
  EncodeToMemory(state, Image8());
}
BENCHMARK(BM_EncodeToMemory24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeToMemory8)->Unit(benchmark::kMillisecond);

// The whole export as a command runs it: copy, reduction, encoding, atomic file.
void WriteFile(benchmark::State& state, bool reduce) {
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("glyphary-png-bench-" + std::to_string(::getpid()) + ".png"))
                               .string();
  const ExportOptions options{70, true, reduce};
  for (auto _ : state) WritePngFile(Image24(), path, options, kColorWhite);
  std::filesystem::remove(path);
}
void BM_WritePngFile24(benchmark::State& state) {
  WriteFile(state, false);
}
void BM_WritePngFile256(benchmark::State& state) {
  WriteFile(state, true);
}
BENCHMARK(BM_WritePngFile24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WritePngFile256)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace glyphary

BENCHMARK_MAIN();
