// Exact 2:1 reduction. With whole-pixel boundaries the area average of two
// pixels is ((a + b) * 2^18 + 2^17) * 2^21 >> 40, which is (a + b) >> 1; when
// both directions halve, the width pass rounds before the height pass sees it.
#include "resample/stretch.h"
#include "resample/stretch_kernels.h"
#include "resample/vectors.h"

#if GLYPHARY_X86_VECTORS
#include <emmintrin.h>
#endif

namespace glyphary {
namespace {

inline std::uint8_t Mean(unsigned a, unsigned b) {
  return std::uint8_t((a + b) >> 1);
}

#if GLYPHARY_X86_VECTORS

inline __m128i Load(const std::uint8_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// Bytes from..to set.
inline __m128i Bytes(int from, int to) {
  alignas(16) std::uint8_t mask[16] = {};
  for (int i = from; i <= to; ++i) mask[i] = 0xFF;
  return _mm_load_si128(reinterpret_cast<const __m128i*>(mask));
}

// The SSE2 average rounds up; on complemented bytes it rounds down:
// ~avg(~a, ~b) = (a + b) >> 1. So the means below stay complemented until
// they are stored.
class Halver {
 public:
  // Complemented means of the four bytes i, i + 3 of both rows, for 16 i.
  // One row alone (bottom null) needs no second average: avg(x, x) = x.
  __m128i Means(const std::uint8_t* top, const std::uint8_t* bottom) const {
    const __m128i upper = _mm_avg_epu8(Flip(Load(top)), Flip(Load(top + 3)));
    if (bottom == nullptr) return upper;
    const __m128i lower = _mm_avg_epu8(Flip(Load(bottom)), Flip(Load(bottom + 3)));
    return _mm_avg_epu8(upper, lower);
  }

  // Eight output pixels from 48 source bytes of each row: of every six
  // means, the first three are a pixel.
  void Eight(const std::uint8_t* top, const std::uint8_t* bottom, std::uint8_t* dst) const {
    const __m128i v0 = Means(top, bottom), v1 = Means(top + 16, Offset(bottom, 16));
    const __m128i v2 = Means(top + 32, Offset(bottom, 32));
    // Pixels 0..2 from v0 bytes 0, 6, 12; 3, 4 and the first byte of 5 from v1.
    __m128i first = _mm_or_si128(_mm_and_si128(v0, bytes0to2_),
                                 _mm_and_si128(_mm_srli_si128(v0, 3), bytes3to5_));
    first = _mm_or_si128(first, _mm_and_si128(_mm_srli_si128(v0, 6), bytes6to8_));
    first = _mm_or_si128(first, _mm_and_si128(_mm_slli_si128(v1, 7), bytes9to11_));
    first = _mm_or_si128(first, _mm_and_si128(_mm_slli_si128(v1, 4), bytes12to14_));
    first = _mm_or_si128(first, _mm_and_si128(_mm_slli_si128(v1, 1), byte15_));
    // The rest of pixel 5, then pixels 6 and 7 from v2 bytes 4 and 10.
    __m128i second =
        _mm_or_si128(_mm_srli_si128(v1, 15), _mm_and_si128(_mm_slli_si128(v2, 1), byte1_));
    second = _mm_or_si128(second, _mm_and_si128(_mm_srli_si128(v2, 2), bytes2to4_));
    second = _mm_or_si128(second, _mm_and_si128(_mm_srli_si128(v2, 5), bytes5to7_));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), Flip(first));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + 16), Flip(second));
  }

 private:
  static const std::uint8_t* Offset(const std::uint8_t* p, int by) {
    return p == nullptr ? nullptr : p + by;
  }
  __m128i Flip(__m128i v) const { return _mm_xor_si128(v, ones_); }

  const __m128i ones_ = _mm_set1_epi8(-1);
  const __m128i bytes0to2_ = Bytes(0, 2), bytes3to5_ = Bytes(3, 5), bytes6to8_ = Bytes(6, 8);
  const __m128i bytes9to11_ = Bytes(9, 11), bytes12to14_ = Bytes(12, 14), byte15_ = Bytes(15, 15);
  const __m128i byte1_ = Bytes(1, 1), bytes2to4_ = Bytes(2, 4), bytes5to7_ = Bytes(5, 7);
};

// The output pixels from c on in blocks of eight; returns where it stopped.
int HalveRowSse2(const std::uint8_t* top, const std::uint8_t* bottom, std::uint8_t* dst, int c,
                 int width) {
  const Halver halver;
  // The last block's loads reach three bytes past its 48.
  if (top == bottom)
    for (; 6 * std::size_t(c) + 51 <= 6 * std::size_t(width); c += 8)
      halver.Eight(top + 6 * c, nullptr, dst + 3 * c);
  for (; 6 * std::size_t(c) + 51 <= 6 * std::size_t(width); c += 8)
    halver.Eight(top + 6 * c, bottom + 6 * c, dst + 3 * c);
  return c;
}

// The bytes from x on, 16 at a time; returns where it stopped.
std::size_t MeanOfRowsSse2(const std::uint8_t* a, const std::uint8_t* b, std::uint8_t* dst,
                           std::size_t x, std::size_t n) {
  const __m128i ones = _mm_set1_epi8(-1);
  for (; x + 16 <= n; x += 16) {
    const __m128i upper = _mm_xor_si128(Load(a + x), ones);
    const __m128i lower = _mm_xor_si128(Load(b + x), ones);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + x),
                     _mm_xor_si128(_mm_avg_epu8(upper, lower), ones));
  }
  return x;
}
#endif

template <Vectors kLevel>
void HalveRowAt(const std::uint8_t* top, const std::uint8_t* bottom, std::uint8_t* dst, int width) {
  int c = 0;
#if GLYPHARY_X86_VECTORS
  if constexpr (kLevel == Vectors::kAvx512) return HalveRow512(top, bottom, dst, width);
  if constexpr (kLevel >= Vectors::kAvx2) c = HalveRowWide(top, bottom, dst, width);
  if constexpr (kLevel >= Vectors::kSse2) c = HalveRowSse2(top, bottom, dst, c, width);
#endif
  for (; c < width; ++c)
    for (int k = 6 * c; k < 6 * c + 3; ++k)
      dst[k - 3 * c] = Mean(Mean(top[k], top[k + 3]), Mean(bottom[k], bottom[k + 3]));
}

template <Vectors kLevel>
void MeanOfRowsAt(const std::uint8_t* a, const std::uint8_t* b, std::uint8_t* dst, std::size_t n) {
  std::size_t x = 0;
#if GLYPHARY_X86_VECTORS
  if constexpr (kLevel == Vectors::kAvx512) return MeanOfRows512(a, b, dst, n);
  if constexpr (kLevel >= Vectors::kAvx2) x = MeanOfRowsWide(a, b, dst, n);
  if constexpr (kLevel >= Vectors::kSse2) x = MeanOfRowsSse2(a, b, dst, x, n);
#endif
  for (; x < n; ++x) dst[x] = Mean(a[x], b[x]);
}

}  // namespace

const LevelForms<HalveRowKernel> kHalveRowForms = GLYPHARY_FORMS_OF(HalveRowAt);
const LevelForms<MeanOfRowsKernel> kMeanOfRowsForms = GLYPHARY_FORMS_OF(MeanOfRowsAt);

void HalveBitmap(SourceRows& source, Bitmap& destination) {
  for (int r = 0; r < destination.Height(); ++r) {
    const std::uint8_t* rows[2];
    source.Get(2 * r, 2, rows);
    HalveRow(rows[0], rows[1], destination.Row(r), destination.Width());
  }
}

void HalveBitmap(const Bitmap& source, Bitmap& destination) {
  SourceRows rows(source);
  HalveBitmap(rows, destination);
}

}  // namespace glyphary
