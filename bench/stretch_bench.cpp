// Resampler speed next to plain memcpy of the same source bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "resample/resample.h"
#include "resample/stretch.h"
#include "resample/vectors.h"

namespace {

using glyphary::Bitmap;

Bitmap Noise(int width, int height) {
  Bitmap b(width, height, 24);
  std::mt19937 random(1);
  for (int y = 0; y < height; ++y)
    for (std::size_t i = 0; i < std::size_t(width) * 3; ++i) b.Row(y)[i] = std::uint8_t(random());
  return b;
}

void SetRates(benchmark::State& state, double sourcePixels, double outputPixels) {
  using benchmark::Counter;
  state.counters["src_px/s"] = Counter(sourcePixels, Counter::kIsIterationInvariantRate);
  state.counters["out_px/s"] = Counter(outputPixels, Counter::kIsIterationInvariantRate);
  state.SetBytesProcessed(std::int64_t(state.iterations() * sourcePixels * 3));
}

// Args: source width, source height, target width, target height.
void BM_Stretch(benchmark::State& state) {
  const int w = int(state.range(0)), h = int(state.range(1));
  const int toW = int(state.range(2)), toH = int(state.range(3));
  const Bitmap source = Noise(w, h);
  for (auto _ : state) {
    state.PauseTiming();
    Bitmap b = source;
    state.ResumeTiming();
    glyphary::StretchBitmap(b, toW, toH);
    benchmark::DoNotOptimize(b.Bits());
  }
  SetRates(state, double(w) * h, double(toW) * toH);
}
BENCHMARK(BM_Stretch)
    ->ArgNames({"w", "h", "toW", "toH"})
    ->Args({4000, 600, 2000, 300})   // halving
    ->Args({8000, 1200, 4000, 600})  // halving, beyond the caches
    ->Args({4001, 601, 2000, 300})   // halving an odd size
    ->Args({4000, 601, 2000, 300})   // halving, exact in width only
    ->Args({4000, 600, 1480, 222})   // general reduction, x0.37
    ->Args({1000, 150, 3000, 450})   // enlargement, x3
    ->Unit(benchmark::kMicrosecond);

// The same reductions with the kernels held to narrower vectors. Args: as
// above, then 0 for the widest the processor has, 1 for 256 bits at most, 2
// for SSE2 alone.
void LimitVectorsByArg(std::int64_t arg) {
  using glyphary::Vectors;
  glyphary::stretch_testing::LimitVectors(arg == 0   ? Vectors::kAvx512
                                          : arg == 1 ? Vectors::kAvx2
                                                     : Vectors::kSse2);
}

void BM_StretchNarrower(benchmark::State& state) {
  LimitVectorsByArg(state.range(4));
  BM_Stretch(state);
  LimitVectorsByArg(0);
}
BENCHMARK(BM_StretchNarrower)
    ->ArgNames({"w", "h", "toW", "toH", "vectors"})
    ->ArgsProduct({{4000}, {600}, {1480}, {222}, {0, 1, 2}})
    ->Args({4001, 601, 2000, 300, 0})
    ->Args({4001, 601, 2000, 300, 1})
    ->Args({4001, 601, 2000, 300, 2})
    ->Unit(benchmark::kMicrosecond);

// The fused halving sweep alone, into a destination made beforehand: the
// difference to the halving above is the cost of making the new bitmap.
// Args: source width, height, vectors as in BM_StretchNarrower.
void BM_HalveSweep(benchmark::State& state) {
  const int w = int(state.range(0)), h = int(state.range(1));
  const Bitmap source = Noise(w, h);
  Bitmap destination(w / 2, h / 2, 24);
  LimitVectorsByArg(state.range(2));
  for (auto _ : state) {
    glyphary::HalveBitmap(source, destination);
    benchmark::DoNotOptimize(destination.Bits());
  }
  LimitVectorsByArg(0);
  SetRates(state, double(w) * h, double(w / 2) * (h / 2));
}
BENCHMARK(BM_HalveSweep)
    ->ArgNames({"w", "h", "vectors"})
    ->ArgsProduct({{4000}, {600}, {0, 1, 2}})
    ->Args({8000, 1200, 0})
    ->Unit(benchmark::kMicrosecond);

// One shrink pass alone, into a destination made beforehand. Args: source
// width, height, target size, direction (0 width, 1 height).
void BM_ShrinkPass(benchmark::State& state) {
  const int w = int(state.range(0)), h = int(state.range(1)), to = int(state.range(2));
  const bool vertical = state.range(3) != 0;
  const Bitmap source = Noise(w, h);
  Bitmap destination(vertical ? w : to, vertical ? to : h, 24);
  for (auto _ : state) {
    if (vertical)
      glyphary::ShrinkVertical(source, destination, nullptr);
    else
      glyphary::ShrinkHorizontal(source, destination, nullptr);
    benchmark::DoNotOptimize(destination.Bits());
  }
  SetRates(state, double(w) * h, double(destination.Width()) * destination.Height());
}
BENCHMARK(BM_ShrinkPass)
    ->ArgNames({"w", "h", "to", "vertical"})
    ->Args({4001, 601, 2000, 0})
    ->Args({2000, 601, 300, 1})
    ->Args({4000, 600, 1480, 0})
    ->Args({1480, 600, 222, 1})
    ->Unit(benchmark::kMicrosecond);

// Args: width, height of the 24-bit image whose bytes are copied.
void BM_Memcpy(benchmark::State& state) {
  const int w = int(state.range(0)), h = int(state.range(1));
  const std::size_t bytes = std::size_t(w) * h * 3;
  std::vector<std::uint8_t> from(bytes, 1), to(bytes, 2);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  SetRates(state, double(w) * h, double(w) * h);
}
BENCHMARK(BM_Memcpy)
    ->ArgNames({"w", "h"})
    ->Args({4000, 600})
    ->Args({8000, 1200})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
