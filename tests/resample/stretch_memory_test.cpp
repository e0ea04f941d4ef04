// How much memory a resize takes: every allocation of this test program is
// counted, so a test can see the largest amount held at once.
#include <gtest/gtest.h>
#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "render/caption.h"
#include "render/render.h"
#include "resample/noise_rows.h"
#include "resample/resample.h"

namespace {

std::atomic<std::size_t> held{0}, peak{0};

void* Counted(std::size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) throw std::bad_alloc();
  const std::size_t now = held += malloc_usable_size(p);
  for (std::size_t old = peak; now > old && !peak.compare_exchange_weak(old, now);) {
  }
  return p;
}

void Uncounted(void* p) {
  if (p == nullptr) return;
  held -= malloc_usable_size(p);
  std::free(p);
}

}  // namespace

void* operator new(std::size_t size) {
  return Counted(size);
}
void* operator new[](std::size_t size) {
  return Counted(size);
}
void operator delete(void* p) noexcept {
  Uncounted(p);
}
void operator delete[](void* p) noexcept {
  Uncounted(p);
}
void operator delete(void* p, std::size_t) noexcept {
  Uncounted(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  Uncounted(p);
}
// The library's nothrow forms pair with the deletes above, so they are ours too.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Counted(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  Uncounted(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
  Uncounted(p);
}

namespace glyphary {
namespace {

// Bytes held at the worst moment of the resize beyond those held before it.
std::size_t PeakDuring(Bitmap& bitmap, int width, int height, ProgressProc progress) {
  const std::size_t before = held;
  peak = before;
  StretchBitmap(bitmap, width, height, progress);
  return peak - before;
}

void Quiet(std::int32_t) {}

// A column 3000 high to a row 3000 wide: the width-enlarged image between two
// passes would hold 27 MB for a result of 9 KB. Memory must follow the ends.
// A one-pixel column enlarges to rows of its own level, so every output
// pixel is what the column alone reduces to.
TEST(StretchMemory, TallToWideNeverHoldsTheImageBetweenThePasses) {
  Bitmap column(1, 3000, 24);
  for (int y = 0; y < column.Height(); ++y)
    for (int k = 0; k < 3; ++k) column.Row(y)[k] = std::uint8_t((y * 7 + k * 50) % 256);
  Bitmap average = column;
  StretchBitmap(average, 1, 1);
  for (ProgressProc progress : {ProgressProc(nullptr), ProgressProc(Quiet)}) {
    Bitmap wide = column;
    EXPECT_LT(PeakDuring(wide, 3000, 1, progress), std::size_t(2) << 20);
    for (int x : {0, 1234, 2999}) EXPECT_EQ(wide.PixelAt(x, 0), average.PixelAt(0, 0)) << x;
  }
}

// Enlarging both ways, the ring of rows is small beside the result.
TEST(StretchMemory, EnlargingHoldsLittleMoreThanTheResult) {
  Bitmap small(100, 100, 24);
  const std::size_t result = Bitmap::StrideFor(2000, 24) * 1500;
  EXPECT_LT(PeakDuring(small, 2000, 1500, nullptr), result + result / 10);
}

// A 32-bit image halved (the caption pipeline's case, evenly and oddly high)
// is read a few rows at a time: no 24-bit copy of the whole input is made,
// which would cost three quarters of the input beside the result.
TEST(StretchMemory, HalvingA32BitImageMakesNo24BitCopyOfIt) {
  for (int height : {1200, 1201}) {
    Bitmap image(2000, height, 32);
    const std::size_t input = image.ImageSize();
    const std::size_t result = Bitmap::StrideFor(1000, 24) * std::size_t(height / 2);
    EXPECT_LT(PeakDuring(image, 1000, height / 2, nullptr), result + input / 10) << height;
    EXPECT_EQ(image.BitsPerPixel(), 24);
  }
}

// An image given row by row is halved holding a few of its rows at a time,
// whichever kernel the sizes pick: made whole, it would cost four times the result.
TEST(StretchMemory, HalvingProducedRowsNeverHoldsTheImage) {
  for (const auto& [width, height] : {std::pair{2000, 1200}, {2001, 1200}, {2000, 1201}}) {
    const NoiseRows rows(width, height);
    const std::size_t input = 3 * std::size_t(width) * height;
    const std::size_t result = Bitmap::StrideFor(width / 2, 24) * std::size_t(height / 2);
    const std::size_t before = held;
    peak = before;
    rows.asked.reserve(std::size_t(height));
    const Bitmap half = HalveRows(rows);
    EXPECT_LT(peak - before, result + input / 10) << width << " x " << height;
    EXPECT_EQ(half.Width(), width / 2);
  }
}

// A large caption: the 24-bit trimmed working image would be several times
// its halved result, which is all the halving may hold beyond a few rows.
TEST(StretchMemory, ALargeCaptionIsHalvedWithoutItsTrimmedWorkingImage) {
  FontEngine engine;
  CaptionStyle style;
  style.pointSize = 200;
  const WorkingCoverage working =
      DrawWorkingCoverage("今日の天気は晴れ、明日は雨 Sunny Day 2024!!", style, engine);
  const Bitmap trimmed = TrimmedFromCoverage(working.coverage, working.width, working.height,
                                             style.backgroundColor, style.textColor, 24);
  const std::size_t before = held;
  peak = before;
  const Bitmap half = HalvedFromCoverage(working.coverage, working.width, working.height,
                                         style.backgroundColor, style.textColor);
  EXPECT_LT(peak - before, half.ImageSize() + trimmed.ImageSize() / 10);
  EXPECT_GT(trimmed.ImageSize(), std::size_t(10) << 20);
}

}  // namespace
}  // namespace glyphary
