// Public interface of the resampler: StretchBitmap and the halving of an
// image made a few rows at a time.
#pragma once

#include <cstdint>

#include "image/image.h"

namespace glyphary {

// Progress callback: percentage done, 0 to 100.
using ProgressProc = void (*)(std::int32_t percent);

// Resizes a bitmap in place; a non-empty result is always 24 bits per pixel.
void StretchBitmap(Bitmap& bitmap, int width, int height, ProgressProc progress = nullptr);

// An image made a row at a time on demand, for a reduction that need not hold
// it whole. Rows are asked for in order, each once.
class RowProducer {
 public:
  virtual ~RowProducer() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // Writes row y (0 is the top) as Width() pixels of blue, green, red.
  virtual void WriteRow(int y, std::uint8_t* pixels) const = 0;
  // Rows above y will not be asked for again. Rows are asked for top first.
  virtual void ForgetRowsBefore(int /*y*/) const {}
};

// Whether the 128-bit vector kernels may run: on x86 unless the plain loops
// are asked for (GLYPHARY_VECTORS=scalar, or a test). Decided as the program
// starts; kernels outside the resampler pick their form by it, so that one
// setting governs them all.
bool VectorKernelsAllowed();

// What StretchBitmap(image, w / 2, h / 2) makes of the w × h image that rows
// produces, reading it a few rows at a time.
Bitmap HalveRows(const RowProducer& rows);

}  // namespace glyphary
