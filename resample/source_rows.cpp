// Source rows of the one-sweep reductions: a 32-bit image's turned into
// 24-bit bytes, or a producer's made, a few at a time, so that no 24-bit copy
// of the whole image is made.
#include <cstring>
#include <memory>
#include <stdexcept>

#include "resample/stretch_kernels.h"
#include "resample/vectors.h"

#if GLYPHARY_X86_VECTORS
#include <immintrin.h>
#endif

namespace glyphary {
namespace {

// Room past a converted row for the last 16-byte store of four pixels.
constexpr std::size_t kSlack = 16;

#if GLYPHARY_X86_VECTORS
// The first three bytes of every four; returns the pixels done. The byte
// shuffle is SSSE3, which every processor with AVX2 has.
GLYPHARY_AVX2 int DropFourthBytesWide(const std::uint8_t* in, std::uint8_t* out, int width) {
  const __m128i firstThree = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
  int x = 0;
  for (; x + 4 <= width; x += 4)
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * x),
                     _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 4 * x)),
                                      firstThree));
  return x;
}
#endif

template <Vectors kLevel>
void DropFourthBytesAt(const std::uint8_t* in, std::uint8_t* out, int width) {
  int x = 0;
#if GLYPHARY_X86_VECTORS
  if constexpr (kLevel >= Vectors::kAvx2) x = DropFourthBytesWide(in, out, width);
#endif
  for (; x < width; ++x) std::memcpy(out + 3 * x, in + 4 * x, 3);
}

// A 32-bit bitmap's rows as 24-bit bytes.
class WithoutFourthBytes final : public RowProducer {
 public:
  explicit WithoutFourthBytes(const Bitmap& source) : source_(source) {}
  int Width() const override { return source_.Width(); }
  int Height() const override { return source_.Height(); }
  void WriteRow(int y, std::uint8_t* pixels) const override {
    Kernels().dropFourthBytes(source_.Row(y), pixels, source_.Width());
  }

 private:
  const Bitmap& source_;
};

}  // namespace

const LevelForms<DropFourthBytesKernel> kDropFourthBytesForms =
    GLYPHARY_FORMS_OF(DropFourthBytesAt);

SourceRows::SourceRows(const Bitmap& source)
    : width_(source.Width()),
      height_(source.Height()),
      rowBytes_(3 * std::size_t(width_) + kSlack) {
  if (source.BitsPerPixel() == 32) {
    converter_ = std::make_unique<WithoutFourthBytes>(source);
    producer_ = converter_.get();
  } else {
    asTheyLie_ = &source;
  }
}

SourceRows::SourceRows(const RowProducer& producer)
    : producer_(&producer),
      width_(producer.Width()),
      height_(producer.Height()),
      rowBytes_(3 * std::size_t(width_) + kSlack) {}

SourceRows::~SourceRows() = default;

void SourceRows::Get(int first, int count, const std::uint8_t** rows) {
  // A producer may have let go of the rows it was told are done with.
  if (first < done_) throw std::logic_error("source rows asked for out of order");
  done_ = first;
  if (asTheyLie_ != nullptr) {
    for (int r = 0; r < count; ++r) rows[r] = asTheyLie_->Row(first + r);
    return;
  }
  if (buffer_.size() < rowBytes_ * std::size_t(count))
    buffer_.resize(rowBytes_ * std::size_t(count));
  producer_->ForgetRowsBefore(first);
  for (int r = 0; r < count; ++r) {
    std::uint8_t* row = buffer_.data() + rowBytes_ * std::size_t(r);
    producer_->WriteRow(first + r, row);
    rows[r] = row;
  }
}

}  // namespace glyphary
