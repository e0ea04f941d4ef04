#include "resample/vectors.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "resample/resample.h"
#include "resample/stretch.h"
#include "resample/stretch_kernels.h"

namespace glyphary {
namespace {

// Limits set by tests and benchmarks, between renders only.
Vectors testLimit = Vectors::kAvx512;

Vectors Detect() {
#if GLYPHARY_X86_VECTORS
  __builtin_cpu_init();
  if (!__builtin_cpu_supports("avx2")) return Vectors::kSse2;
  if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
      __builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512vnni"))
    return Vectors::kAvx512;
  return Vectors::kAvx2;
#else
  return Vectors::kScalar;
#endif
}

// "scalar", "sse2", "avx2" or "avx512"; nothing for any other name.
std::optional<Vectors> VectorsNamed(std::string_view name) {
  if (name == "scalar") return Vectors::kScalar;
  if (name == "sse2") return Vectors::kSse2;
  if (name == "avx2") return Vectors::kAvx2;
  if (name == "avx512") return Vectors::kAvx512;
  return std::nullopt;
}

}  // namespace

Vectors ProcessorVectors() {
  static const Vectors detected = Detect();
  return detected;
}

Vectors VectorsAllowedBy(const char* setting, Vectors processor) {
  if (setting == nullptr) return processor;
  return std::min(processor, VectorsNamed(setting).value_or(processor));
}

Vectors ActiveVectors() {
  static const Vectors allowed =
      VectorsAllowedBy(std::getenv("GLYPHARY_VECTORS"), ProcessorVectors());
  return std::min(allowed, testLimit);
}

namespace {

KernelTable TableFor(Vectors level) {
  const auto i = std::size_t(level);
  return {kHalveRowForms[i],        kMeanOfRowsForms[i],          kCubicRowsForms[i],
          kAreaRowsForms[i],        kEnlargeRowsInBlocksForms[i], kShrinkRowsInBlocksForms[i],
          kDropFourthBytesForms[i], kShortSpanRowsForms[i]};
}

// Read by every kernel call, so chosen beside the table rather than asked for.
bool vectorKernelsAllowed = ActiveVectors() >= Vectors::kSse2;

}  // namespace

// Made as the program starts: the forms are constants, set before it.
KernelTable kernels_chosen::table = TableFor(ActiveVectors());

bool VectorKernelsAllowed() {
  return vectorKernelsAllowed;
}

namespace stretch_testing {
void LimitVectors(Vectors widest) {
  testLimit = widest;
  kernels_chosen::table = TableFor(ActiveVectors());
  vectorKernelsAllowed = ActiveVectors() >= Vectors::kSse2;
}
}  // namespace stretch_testing

}  // namespace glyphary
