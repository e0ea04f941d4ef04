// The trimmed working image built straight from the text's coverage: the
// pixels a filled, blended and trimmed working image would hold, each
// written once, without the image around the ink ever existing.
#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#include "render/caption.h"

namespace glyphary {
namespace {

// What a working pixel is for each coverage value, and whether the trim
// counts it as ink. The trim compares with the background as stored, so a
// system colour equals no pixel and every pixel is ink.
struct Shades {
  std::array<std::uint32_t, 256> pixel;  // blue, green, red, 0 in memory order
  std::array<bool, 256> ink;
  std::uint32_t background;
  std::array<std::uint8_t, 32> eightBackgrounds;  // eight pixels of 3 or 4 bytes
  bool everythingIsInk;
};

std::uint32_t PixelWord(TColor rgb) {
  return std::uint32_t(BlueOf(rgb)) | std::uint32_t(GreenOf(rgb)) << 8 |
         std::uint32_t(RedOf(rgb)) << 16;
}

template <int Bytes>
Shades ShadesOf(TColor background, TColor textColor) {
  const TColor bg = ColorToRGB(background), text = ColorToRGB(textColor);
  Shades s;
  s.background = PixelWord(bg);
  for (int i = 0; i < 8; ++i)
    std::memcpy(s.eightBackgrounds.data() + i * Bytes, &s.background, Bytes);
  s.everythingIsInk = background > 0x00FFFFFF;
  for (unsigned c = 0; c < 256; ++c) {
    const unsigned keep = c + 1, ink = 256 - keep;
    const auto mix = [&](unsigned own, unsigned added) { return (own * keep + added * ink) >> 8; };
    s.pixel[c] = mix(BlueOf(bg), BlueOf(text)) | mix(GreenOf(bg), GreenOf(text)) << 8 |
                 mix(RedOf(bg), RedOf(text)) << 16;
    s.ink[c] = s.everythingIsInk || s.pixel[c] != s.background;
  }
  return s;
}

// The last ink column of a coverage row right of `after`, or `after`.
int LastInk(const Coverage& coverage, int y, int after, const Shades& s) {
  const std::uint8_t* row = coverage.Row(y);
  int x = coverage.width - 1;
  while (x > after) {
    // Coverage 255 never differs from the background: skip white words whole.
    if (x - 7 > after) {
      std::uint64_t word;
      std::memcpy(&word, row + x - 7, 8);
      if (word == ~std::uint64_t(0)) {
        x -= 8;
        continue;
      }
    }
    if (s.ink[row[x]]) return x;
    --x;
  }
  return after;
}

struct InkBox {
  int top = 0, bottomCut = 0, rightCut = 0;
};

// As the trim finds it in the working image: outside the coverage lies only background.
InkBox FindInk(const Coverage& coverage, const Shades& s, int width, int height) {
  if (s.everythingIsInk) return {0, 1, 1};
  const auto rowHasInk = [&](int y) { return LastInk(coverage, y, -1, s) >= 0; };
  int first = 0;
  while (first < coverage.height && !rowHasInk(first)) ++first;
  if (first == coverage.height) return {};
  int last = coverage.height - 1;
  while (!rowHasInk(last)) --last;
  int lastCol = -1;
  for (int y = first; y <= last; ++y) lastCol = LastInk(coverage, y, lastCol, s);
  return {first, height - last, width - lastCol};
}

template <int Bytes>
void StorePixel(std::uint8_t* p, std::uint32_t word) {
  std::memcpy(p, &word, Bytes);
}

template <int Bytes>
void FillPixels(std::uint8_t* p, int count, std::uint32_t word) {
  if (count <= 0) return;
  StorePixel<Bytes>(p, word);
  const std::size_t total = std::size_t(count) * Bytes;
  for (std::size_t done = Bytes; done < total;) {
    const std::size_t n = std::min(done, total - done);
    std::memcpy(p + done, p, n);
    done += n;
  }
}

// The shades of `count` coverage bytes. Most blocks hold no ink, so white
// runs of eight are copied whole; whole words overlap the next pixel's first
// byte, which is written after them, and the last pixel is exact.
template <int Bytes>
void WriteShades(std::uint8_t* out, const std::uint8_t* in, int count, const Shades& s) {
  int i = 0;
  for (; i + 8 < count; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, in + i, 8);
    if (word == ~std::uint64_t(0))
      std::memcpy(out + i * Bytes, s.eightBackgrounds.data(), 8 * Bytes);
    else
      for (int j = i; j < i + 8; ++j) StorePixel<4>(out + j * Bytes, s.pixel[in[j]]);
  }
  for (; i < count - 1; ++i) StorePixel<4>(out + i * Bytes, s.pixel[in[i]]);
  StorePixel<Bytes>(out + (count - 1) * Bytes, s.pixel[in[count - 1]]);
}

// `count` pixels of row y of the working image from column x, as the trim
// sees it: the shades of the coverage inside it, the background elsewhere,
// also beyond the image's edges, where the trim's resize adds that colour.
template <int Bytes>
void WriteWorkingRun(std::uint8_t* out, int y, int x, int count, const Coverage& coverage,
                     const Shades& s) {
  int inked = 0;
  if (y < coverage.height && x < coverage.width) {
    inked = std::min(count, coverage.width - x);
    if (inked > 0) WriteShades<Bytes>(out, coverage.Row(y) + x, inked, s);
  }
  FillPixels<Bytes>(out + std::size_t(inked) * Bytes, count - inked, s.background);
}

// The trimmed working image row by row: Write makes any row on its own, so
// the image can be made whole or handed out a few rows at a time.
template <int Bytes>
class TrimmedRows {
 public:
  TrimmedRows(const Coverage& coverage, int width, int height, TColor background, TColor textColor)
      // The trim first widens an image without pixels to one column or row.
      : coverage_(coverage),
        width_(std::max(width, 1)),
        height_(std::max(height, 1)),
        s_(ShadesOf<Bytes>(background, textColor)),
        box_(FindInk(coverage, s_, width_, height_)) {}

  int Width() const { return width_ - box_.rightCut + 5; }
  int Height() const { return height_ - box_.bottomCut - box_.top + 4; }
  // The first coverage row that rows y and below read.
  int FirstCoverageRowFrom(int y) const { return y + std::min(0, box_.top - 2); }

  // Row 0, column 0 and rows without a source row keep the working image's
  // own pixels; the rest is the working image one column right and
  // (2 − top) rows down.
  void Write(int y, std::uint8_t* row) const {
    WriteWorkingRun<Bytes>(row, y, 0, 1, coverage_, s_);
    const int source = y + box_.top - 2;
    if (y >= 1 && source >= 0 && source < height_)
      WriteWorkingRun<Bytes>(row + Bytes, source, 0, Width() - 1, coverage_, s_);
    else
      WriteWorkingRun<Bytes>(row + Bytes, y, 1, Width() - 1, coverage_, s_);
  }

 private:
  const Coverage& coverage_;
  int width_, height_;
  const Shades s_;
  const InkBox box_;
};

template <int Bytes>
Bitmap Compose(const TrimmedRows<Bytes>& rows) {
  Bitmap out = Bitmap::Uninitialised(rows.Width(), rows.Height(), 8 * Bytes);
  for (int y = 0; y < out.Height(); ++y) rows.Write(y, out.Row(y));
  return out;
}

// The 24-bit rows for a halving that never holds them all; with `giveBack`,
// the coverage rows passed go back to the system as the halving moves down.
class TrimmedRowProducer final : public RowProducer {
 public:
  TrimmedRowProducer(const Coverage& coverage, int width, int height, TColor background,
                     TColor textColor, Coverage* giveBack)
      : rows_(coverage, width, height, background, textColor), giveBack_(giveBack) {}
  int Width() const override { return rows_.Width(); }
  int Height() const override { return rows_.Height(); }
  void WriteRow(int y, std::uint8_t* pixels) const override { rows_.Write(y, pixels); }
  void ForgetRowsBefore(int y) const override {
    if (giveBack_) giveBack_->ForgetRowsBefore(rows_.FirstCoverageRowFrom(y));
  }

 private:
  TrimmedRows<3> rows_;
  Coverage* giveBack_;
};

Bitmap Halved(const TrimmedRowProducer& rows, TColor background) {
  Bitmap out = HalveRows(rows);
  out.SetBrushColor(background);
  return out;
}

}  // namespace

Bitmap TrimmedFromCoverage(const Coverage& coverage, int width, int height, TColor background,
                           TColor textColor, int bitsPerPixel) {
  Bitmap out = bitsPerPixel == 24
                   ? Compose(TrimmedRows<3>(coverage, width, height, background, textColor))
                   : Compose(TrimmedRows<4>(coverage, width, height, background, textColor));
  out.SetBrushColor(background);
  return out;
}

Bitmap HalvedFromCoverage(const Coverage& coverage, int width, int height, TColor background,
                          TColor textColor) {
  return Halved(TrimmedRowProducer(coverage, width, height, background, textColor, nullptr),
                background);
}

Bitmap HalvedFromCoverage(Coverage&& coverage, int width, int height, TColor background,
                          TColor textColor) {
  // Taken over, so that no caller reads the rows given back.
  Coverage used = std::move(coverage);
  return Halved(TrimmedRowProducer(used, width, height, background, textColor, &used), background);
}

}  // namespace glyphary
