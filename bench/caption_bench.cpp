// Caption rendering: the whole pipeline warm at three sizes, with a border
// and a shadow, in the テロップ style, on two lines and vertical, with colour
// emoji, its stages, and the peak memory of a
// large caption against its 32-bit working image.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "literal_steps.h"
#include "render/antialias.h"
#include "render/caption.h"
#include "render/render.h"
#include "resample/resample.h"

namespace glyphary {
namespace {

const std::string kText = "今日の天気は晴れ Sunny Day 2024";
const std::string kLongText = "今日の天気は晴れ、明日は雨 Sunny Day 2024!!";  // 30 characters

CaptionStyle Style(int points) {
  CaptionStyle s;
  s.pointSize = points;
  s.textColor = Rgb(0, 0, 128);
  return s;
}

FontEngine& Engine() {
  static FontEngine engine;
  return engine;
}

// Renders the caption warm (fonts, layouts, glyphs) for as long as the state
// runs; the last caption.
Bitmap TimeRenderings(benchmark::State& state, const std::string& text, const CaptionStyle& style) {
  Bitmap caption;
  RenderCaption(caption, text, style, Engine());
  for (auto _ : state) {
    RenderCaption(caption, text, style, Engine());
    benchmark::DoNotOptimize(caption.Bits());
  }
  return caption;
}

void BM_RenderCaption(benchmark::State& state) {
  const CaptionStyle style = Style(int(state.range(0)));
  const Bitmap caption = TimeRenderings(state, kText, style);
  state.counters["width"] = caption.Width();
  state.counters["height"] = caption.Height();
}
BENCHMARK(BM_RenderCaption)->Arg(25)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

// The same with a 3-pixel border and a soft shadow, 3 pixels down and right.
void BM_RenderCaptionWithEffect(benchmark::State& state) {
  CaptionStyle style = Style(int(state.range(0)));
  style.effect.outlineWidth = 3;
  style.effect.shadowX = style.effect.shadowY = 3;
  style.effect.shadowBlur = 4;
  const Bitmap caption = TimeRenderings(state, kText, style);
  state.counters["width"] = caption.Width();
  state.counters["height"] = caption.Height();
}
BENCHMARK(BM_RenderCaptionWithEffect)->Arg(25)->Arg(100)->Unit(benchmark::kMillisecond);

// The テロップ style: a fill from yellow to orange, a 3-pixel white border, a
// 6-pixel dark red one outside it and a soft shadow.
void BM_RenderCaptionTelop(benchmark::State& state) {
  CaptionStyle style = Style(int(state.range(0)));
  style.textColor = Rgb(255, 240, 0);
  style.effect = {3, kColorWhite, 4, 4, kColorBlack, 4, 6, Rgb(139, 0, 0), true, Rgb(255, 120, 0)};
  const Bitmap caption = TimeRenderings(state, kText, style);
  state.counters["width"] = caption.Width();
  state.counters["height"] = caption.Height();
}
BENCHMARK(BM_RenderCaptionTelop)->Arg(25)->Arg(100)->Unit(benchmark::kMillisecond);

// The same text at 25 points on one line, split in two lines, and vertical:
// the two layouts should cost at most half as much again as the one line.
void BM_RenderCaptionLayout(benchmark::State& state) {
  CaptionStyle style = Style(25);
  const std::string text = state.range(0) == 1 ? "今日の天気は晴れ\nSunny Day 2024" : kText;
  style.layout.vertical = state.range(0) == 2;
  state.SetLabel(state.range(0) == 0 ? "one line" : state.range(0) == 1 ? "two lines" : "vertical");
  TimeRenderings(state, text, style);
}
BENCHMARK(BM_RenderCaptionLayout)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// A 25-point caption with two colour emoji beside the same one without
// them: the colour glyphs' own pass should cost less than the text's again.
void BM_RenderCaptionEmoji(benchmark::State& state) {
  const std::string text =
      state.range(0) ? "今日の天気は晴れ🎉 Sunny Day👍" : "今日の天気は晴れ Sunny Day";
  state.SetLabel(state.range(0) ? "two emoji" : "none");
  FontDescription font;
  font.faceName = "Noto Color Emoji";
  if (state.range(0) && !Engine().HasColorGlyphs(font, "🎉")) {
    state.SkipWithError("no colour emoji font");
    return;
  }
  const CaptionStyle style = Style(25);
  TimeRenderings(state, text, style);
}
BENCHMARK(BM_RenderCaptionEmoji)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

// The trimmed working image with scratch bands of a given size in KiB: how
// far a band that stays in the cache pays for drawing the text more often.
void BM_WorkingCaptionBand(benchmark::State& state) {
  const CaptionStyle style = Style(int(state.range(0)));
  const ScratchLimits limits{32766, std::size_t(state.range(1)) << 10};
  Bitmap b = TrimmedWorkingCaption(kText, style, Engine(), 24, limits);
  for (auto _ : state) {
    b = TrimmedWorkingCaption(kText, style, Engine(), 24, limits);
    benchmark::DoNotOptimize(b.Bits());
  }
}
BENCHMARK(BM_WorkingCaptionBand)
    ->ArgsProduct({{25, 100, 200}, {512, 1024, 2048, 4096}})
    ->Unit(benchmark::kMillisecond);

// Stage: measuring "gM" and the text at the working and the scratch size.
void BM_StageMeasure(benchmark::State& state) {
  const FontDescription font = WorkingFont(Style(int(state.range(0))), Engine());
  const FontDescription scratch = ScratchFont(font, true, Engine());
  for (auto _ : state) {
    benchmark::DoNotOptimize(Engine().Extent(font, "gM"));
    benchmark::DoNotOptimize(Engine().Extent(font, kText));
    benchmark::DoNotOptimize(Engine().Extent(scratch, kText));
  }
}
BENCHMARK(BM_StageMeasure)->Arg(25)->Arg(100)->Unit(benchmark::kMicrosecond);

// Stage: the rasteriser drawing the text into the white scratch.
void BM_StageDraw(benchmark::State& state) {
  const FontDescription scratch =
      ScratchFont(WorkingFont(Style(int(state.range(0))), Engine()), true, Engine());
  const PixelBox ink = Engine().InkBox(scratch, kText);
  const int width = ink.right - ink.left, height = ink.bottom - ink.top, stride = 4 * width;
  std::vector<std::uint8_t> pixels(std::size_t(stride) * height);
  for (auto _ : state) {
    std::memset(pixels.data(), 0xFF, pixels.size());
    Engine().DrawBlackText(scratch, kText, pixels.data(), width, height, stride, ink.left, ink.top);
    benchmark::DoNotOptimize(pixels.data());
  }
}
BENCHMARK(BM_StageDraw)->Arg(25)->Arg(100)->Unit(benchmark::kMicrosecond);

// The literal steps the tests hold the pipeline to, for comparison: the
// pipeline itself never blends into or trims a whole working image, it makes
// the trimmed rows from the coverage as the halving reads them (below).
// Blending the text's coverage into a whole working image:
void BM_StageBlend(benchmark::State& state) {
  const FontDescription font = WorkingFont(Style(int(state.range(0))), Engine());
  const Coverage coverage = DrawCoverage(font, kText, true, Engine(), {});
  Bitmap working(coverage.width, coverage.height, 32);
  for (auto _ : state) {
    for (int r = 0; r < coverage.height; ++r)
      BlendCoverage(working.Row(r), coverage.Row(r), coverage.width, font.color);
    benchmark::DoNotOptimize(working.Bits());
  }
}
BENCHMARK(BM_StageBlend)->Arg(25)->Arg(100)->Unit(benchmark::kMicrosecond);

// The literal working image just before the trim: filled and drawn.
Bitmap DrawnWorkingImage(int points) {
  const CaptionStyle style = Style(points);
  const FontDescription font = WorkingFont(style, Engine());
  const int lineH = Engine().Extent(font, "gM").cy;
  Bitmap b(2 * Engine().Extent(font, kText).cx, lineH + lineH / 2, 32);
  b.SetBrushColor(style.backgroundColor);
  b.Fill(style.backgroundColor);
  DrawAntialiasedText(b, 0, 0, font, kText, true, Engine());
  return b;
}

void BM_StageTrim(benchmark::State& state) {
  const Bitmap drawn = DrawnWorkingImage(int(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    Bitmap b = drawn;
    state.ResumeTiming();
    TrimToContent(b, kColorWhite);
    benchmark::DoNotOptimize(b.Bits());
  }
}
BENCHMARK(BM_StageTrim)->Arg(25)->Arg(100)->Unit(benchmark::kMicrosecond);

void BM_StageHalve(benchmark::State& state) {
  Bitmap trimmed = DrawnWorkingImage(int(state.range(0)));
  TrimToContent(trimmed, kColorWhite);
  for (auto _ : state) {
    state.PauseTiming();
    Bitmap b = trimmed;
    state.ResumeTiming();
    StretchBitmap(b, b.Width() / 2, b.Height() / 2);
    benchmark::DoNotOptimize(b.Bits());
  }
}
BENCHMARK(BM_StageHalve)->Arg(25)->Arg(100)->Unit(benchmark::kMicrosecond);

// Stage: the trimmed image made from the coverage and halved, made whole
// first (second argument 0) or a few rows at a time as the halving reads
// them (1), as RenderCaption does.
void BM_StageTrimAndHalve(benchmark::State& state) {
  const CaptionStyle style = Style(int(state.range(0)));
  const WorkingCoverage w = DrawWorkingCoverage(kText, style, Engine());
  const bool streamed = state.range(1) != 0;
  for (auto _ : state) {
    Bitmap half;
    if (streamed) {
      half =
          HalvedFromCoverage(w.coverage, w.width, w.height, style.backgroundColor, style.textColor);
    } else {
      half = TrimmedFromCoverage(w.coverage, w.width, w.height, style.backgroundColor,
                                 style.textColor, 24);
      StretchBitmap(half, half.Width() / 2, half.Height() / 2);
    }
    benchmark::DoNotOptimize(half.Bits());
  }
}
BENCHMARK(BM_StageTrimAndHalve)
    ->ArgsProduct({{25, 100, 200}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

long StatusKiB(const char* field) {
  std::ifstream in("/proc/self/status");
  for (std::string line; std::getline(in, line);)
    if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::strlen(field)));
  return -1;
}

// Set in the process that measures one render.
constexpr char kOneRenderVariable[] = "GLYPHARY_BENCH_PEAK_OF_ONE_RENDER";

// Fonts are loaded first, then the kernel's high-water mark is reset
// (clear_refs 5): the peak resident size above the baseline is what one
// render of the long text at 200 points needed at most.
long PeakKiBOfOneRender() {
  const CaptionStyle style = Style(200);
  FontEngine engine;
  Bitmap caption;
  RenderCaption(caption, "gM", style, engine);
  caption = Bitmap();
  std::ofstream("/proc/self/clear_refs") << "5";
  const long before = StatusKiB("VmRSS:");
  RenderCaption(caption, kLongText, style, engine);
  return StatusKiB("VmHWM:") - before;
}

// The same in a new run of this program: a forked child would inherit the
// heap that earlier benchmarks left resident and the glyphs the rasteriser
// cached for them, and both hide what the render needs.
long PeakKiBInANewProcess() {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    dup2(fds[1], STDOUT_FILENO);
    close(fds[0]);
    close(fds[1]);
    setenv(kOneRenderVariable, "1", 1);
    execl("/proc/self/exe", "caption_bench", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  std::string answer;
  char buffer[64];
  for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) answer.append(buffer, n);
  close(fds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? std::atol(answer.c_str()) : -1;
}

// Peak memory of a 200-point, 30-character caption against its 32-bit working image.
void BM_PeakMemory200pt(benchmark::State& state) {
  const CaptionStyle style = Style(200);
  const FontDescription font = WorkingFont(style, Engine());
  const int lineH = Engine().Extent(font, "gM").cy;
  const double working =
      double(2 * Engine().Extent(font, kLongText).cx) * (lineH + lineH / 2) * 4 / 1024;
  long peakKiB = 0;
  for (auto _ : state) peakKiB = PeakKiBInANewProcess();
  state.counters["working_MiB"] = working / 1024;
  state.counters["peak_MiB"] = double(peakKiB) / 1024;
  state.counters["peak_per_working"] = double(peakKiB) / working;
}
BENCHMARK(BM_PeakMemory200pt)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace glyphary

int main(int argc, char** argv) {
  if (std::getenv(glyphary::kOneRenderVariable) != nullptr) {
    std::printf("%ld\n", glyphary::PeakKiBOfOneRender());
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
