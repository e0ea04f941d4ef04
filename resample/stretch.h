// The resampler's passes and helpers, private to resample/. StretchBitmap in
// render.h is the way in; tests and benchmarks reach the pieces through here.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "resample/resample.h"
#include "resample/vectors.h"

namespace glyphary {

// Forwards percent to progress at most once per 50 ms; 0 restarts the clock
// without a call. Does nothing at all when progress is null.
void ReportProgress(std::int32_t percent, ProgressProc progress);

// Four-tap Lagrange weights through the nodes 0..3 at x (1 <= x < 2), scaled.
using CubicWeightSet = std::array<std::int32_t, 4>;
CubicWeightSet CubicWeights(long double x, std::int32_t scale);

// One pass each; both bitmaps are 24-bit and the destination already has its
// final size. Horizontal passes keep the height, vertical ones the width.
void EnlargeHorizontal(const Bitmap& source, Bitmap& destination, ProgressProc progress);
void EnlargeVertical(const Bitmap& source, Bitmap& destination, ProgressProc progress);
void ShrinkHorizontal(const Bitmap& source, Bitmap& destination, ProgressProc progress);
void ShrinkVertical(const Bitmap& source, Bitmap& destination, ProgressProc progress);

// The one-sweep forms below read their source a few rows at a time through
// SourceRows: a 24- or 32-bit bitmap or a producer's rows. They give 24 bits.
class SourceRows;

// Both dimensions exactly halved in one sweep, byte for byte what the two
// shrink passes give (each rounds on its own). Source 2w x 2h, destination w x h.
void HalveBitmap(SourceRows& source, Bitmap& destination);
void HalveBitmap(const Bitmap& source, Bitmap& destination);

// Width and height both reduced in one sweep, byte for byte what the two
// shrink passes give; nothing where no fast kernel suits the sizes.
std::optional<Bitmap> ShrinkBothAtOnce(SourceRows& source, int width, int height);

// Both dimensions changed in one sweep through a ring of width-resized rows,
// byte for byte what the two passes give, without the image between them.
// With a listener it reports once per strip of source rows and per output
// row, counting both towards 100.
Bitmap StretchInOneSweep(SourceRows& source, int width, int height, ProgressProc progress);

// Without a listener: the fastest of the three that suits the sizes.
Bitmap FastestOneSweep(SourceRows& source, int width, int height);

// ---- shared by the passes

// Progress after step (0-based) of steps in a pass ending at end (50 or 100):
// step * 100 div (2 * (steps - 1)) on top of the pass's start. A pass of a
// single step reports its end rather than divide by zero.
inline std::int32_t PassPercent(std::int64_t step, std::int64_t steps, std::int32_t end) {
  if (steps <= 1) return end;
  return std::int32_t(step * 100 / (2 * (steps - 1))) + end - 50;
}

// Where one destination pixel of an area average reads: count source pixels
// from first on, with weights in 2^-18 of a pixel. Every entry of a table has
// the same count (zero weights pad), so the inner loops do not branch.
struct ShrinkTable {
  std::vector<std::int32_t> first;
  std::vector<std::uint32_t> weights;  // count per destination pixel
  int count = 0;
  std::uint32_t factor = 0;  // destination / source size, scaled by 2^22
  bool wideSums = false;     // a channel sum may not fit 32 bits
};
ShrinkTable MakeShrinkTable(int sourceSize, int destinationSize);

// Where boundary index (0..destinationSize) of an area average falls: in
// source pixel whole, part 2^-18 pixels into it, rounded to the nearest.
struct ShrinkBoundary {
  std::int32_t whole;
  std::uint32_t part;
};
ShrinkBoundary ShrinkBoundaryAt(int sourceSize, int destinationSize, int index);

// The four taps (clamped to the source) and weights of each destination
// column or row of an enlargement.
struct EnlargeTable {
  std::vector<std::array<std::int32_t, 4>> taps;
  std::vector<CubicWeightSet> weights;
};
EnlargeTable MakeEnlargeTable(int sourceSize, int destinationSize);

// ---- for tests only

namespace stretch_testing {
// Replaces the millisecond tick counter; nullptr restores the steady clock.
using TickClock = std::uint32_t (*)();
void SetTickClock(TickClock clock);
// The kernels keep to `widest` at most (Vectors::kAvx512: no limit).
void LimitVectors(Vectors widest);
}  // namespace stretch_testing

}  // namespace glyphary
