// Which vector kernels run: the processor's level as its own flags give it,
// GLYPHARY_VECTORS lowering it and never raising it, and whole captions the
// same bytes at every level down to the plain loops.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "render/render.h"
#include "resample/stretch.h"
#include "resample/vectors.h"

namespace glyphary {
namespace {

#if GLYPHARY_X86_VECTORS
// The flags the kernel lists for the first processor.
std::set<std::string> ProcessorFlags() {
  std::ifstream in("/proc/cpuinfo");
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("flags", 0) != 0) continue;
    std::istringstream words(line.substr(line.find(':') + 1));
    std::set<std::string> flags;
    for (std::string word; words >> word;) flags.insert(word);
    return flags;
  }
  return {};
}

TEST(VectorLevels, TheProcessorsLevelFollowsItsFlags) {
  const std::set<std::string> flags = ProcessorFlags();
  if (flags.empty()) GTEST_SKIP() << "no flags in /proc/cpuinfo";
  const auto has = [&](const char* flag) { return flags.count(flag) == 1; };
  Vectors expected = Vectors::kSse2;
  if (has("avx2")) expected = Vectors::kAvx2;
  if (has("avx2") && has("avx512f") && has("avx512bw") && has("avx512vbmi") && has("avx512_vnni"))
    expected = Vectors::kAvx512;
  EXPECT_EQ(ProcessorVectors(), expected);
}
#else
TEST(VectorLevels, WithoutX86VectorsThePlainLoopsAreAllThereIs) {
  EXPECT_EQ(ProcessorVectors(), Vectors::kScalar);
  EXPECT_EQ(ActiveVectors(), Vectors::kScalar);
}
#endif

TEST(VectorLevels, TheVariableOnlyEverLowersTheLevel) {
  EXPECT_EQ(VectorsAllowedBy("scalar", Vectors::kAvx2), Vectors::kScalar);
  EXPECT_EQ(VectorsAllowedBy("sse2", Vectors::kAvx512), Vectors::kSse2);
  EXPECT_EQ(VectorsAllowedBy("avx2", Vectors::kAvx512), Vectors::kAvx2);
  // Never instructions the processor lacks.
  EXPECT_EQ(VectorsAllowedBy("avx512", Vectors::kAvx2), Vectors::kAvx2);
  EXPECT_EQ(VectorsAllowedBy("sse2", Vectors::kScalar), Vectors::kScalar);
  // Unset, empty or unknown: the processor's level.
  EXPECT_EQ(VectorsAllowedBy(nullptr, Vectors::kAvx2), Vectors::kAvx2);
  EXPECT_EQ(VectorsAllowedBy("", Vectors::kAvx2), Vectors::kAvx2);
  EXPECT_EQ(VectorsAllowedBy("neon", Vectors::kSse2), Vectors::kSse2);
}

// Also under `make test-scalar`, which sets the variable for the whole suite.
TEST(VectorLevels, TheVariableReachesTheKernels) {
  EXPECT_EQ(ActiveVectors(), VectorsAllowedBy(std::getenv("GLYPHARY_VECTORS"), ProcessorVectors()));
}

TEST(VectorLevels, TestsLowerTheLevelAndLiftTheirLimitAgain) {
  const Vectors widest = ActiveVectors();
  stretch_testing::LimitVectors(Vectors::kScalar);
  EXPECT_EQ(ActiveVectors(), Vectors::kScalar);
  stretch_testing::LimitVectors(Vectors::kAvx512);
  EXPECT_EQ(ActiveVectors(), widest);
}

// The antialiasing's reduction and the halving of the working image both
// follow the level; the caption's bytes do not.
TEST(VectorLevels, CaptionsAreTheSameBytesAtEveryLevel) {
  FontEngine engine;
  CaptionStyle styles[4];
  styles[1].pointSize = 120;
  styles[1].bold = true;
  styles[2].faceName = "DejaVu Serif";
  styles[2].italic = true;
  styles[2].underline = true;
  styles[2].textColor = Rgb(200, 30, 90);
  styles[3].pointSize = 7;
  styles[3].backgroundColor = Rgb(12, 240, 200);
  const std::string text = "字幕 Caption 2024 gMWj";
  for (const CaptionStyle& style : styles) {
    Bitmap widest;
    RenderCaption(widest, text, style, engine);
    for (Vectors level : {Vectors::kAvx2, Vectors::kSse2, Vectors::kScalar}) {
      stretch_testing::LimitVectors(level);
      Bitmap caption;
      RenderCaption(caption, text, style, engine);
      stretch_testing::LimitVectors(Vectors::kAvx512);
      ASSERT_EQ(caption.ImageSize(), widest.ImageSize());
      EXPECT_EQ(std::memcmp(caption.Bits(), widest.Bits(), widest.ImageSize()), 0)
          << style.pointSize << " pt at level " << int(level);
    }
  }
}

}  // namespace
}  // namespace glyphary
