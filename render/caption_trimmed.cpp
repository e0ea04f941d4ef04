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

using Marks = std::array<bool, 256>;

// What a working pixel is for each coverage value, and whether the trim
// counts it as ink. The trim compares with the background as stored, so a
// system colour equals no pixel and every pixel the text touches is ink.
struct Shades {
  std::array<std::uint32_t, 256> pixel;  // blue, green, red, 0 in memory order
  Marks ink;
  std::uint32_t background;
  std::array<std::uint8_t, 32> eightBackgrounds;  // eight pixels of 3 or 4 bytes
  bool everythingIsInk;
};

std::uint32_t PixelWord(TColor rgb) {
  return std::uint32_t(BlueOf(rgb)) | std::uint32_t(GreenOf(rgb)) << 8 |
         std::uint32_t(RedOf(rgb)) << 16;
}

// The text colour blended over the background for every coverage value.
template <int Bytes>
void SetBlends(Shades& s, TColor bg, TColor text) {
  s.background = PixelWord(bg);
  for (int i = 0; i < 8; ++i)
    std::memcpy(s.eightBackgrounds.data() + i * Bytes, &s.background, Bytes);
  for (unsigned c = 0; c < 256; ++c) {
    const unsigned keep = c + 1, ink = 256 - keep;
    const auto mix = [&](unsigned own, unsigned added) { return (own * keep + added * ink) >> 8; };
    s.pixel[c] = mix(BlueOf(bg), BlueOf(text)) | mix(GreenOf(bg), GreenOf(text)) << 8 |
                 mix(RedOf(bg), RedOf(text)) << 16;
  }
}

template <int Bytes>
Shades ShadesOf(TColor background, TColor textColor) {
  Shades s;
  SetBlends<Bytes>(s, ColorToRGB(background), ColorToRGB(textColor));
  s.everythingIsInk = background > 0x00FFFFFF;
  for (unsigned c = 0; c < 256; ++c)
    s.ink[c] = s.everythingIsInk ? c != 255 : s.pixel[c] != s.background;
  return s;
}

// The ink alone, as white text over black, rounded as every blend is: laid
// over its background, the halved ink then gives the caption's own pixels.
// Only painted: the crop comes from the colours.
template <int Bytes>
Shades InkShades() {
  Shades s{};
  SetBlends<Bytes>(s, kColorBlack, kColorWhite);
  return s;
}

bool WhiteWord(const std::uint8_t* values) {
  std::uint64_t word;
  std::memcpy(&word, values, 8);
  return word == ~std::uint64_t(0);
}

// The last marked column of coverage row y right of `after`, or `after`.
// Coverage 255 is never marked: white words are skipped whole.
int LastMarked(const Coverage& coverage, int y, int after, const Marks& marked) {
  const std::uint8_t* row = coverage.Row(y);
  int x = coverage.width - 1;
  while (x > after) {
    if (x - 7 > after && WhiteWord(row + x - 7)) {
      x -= 8;
      continue;
    }
    if (marked[row[x]]) return x;
    --x;
  }
  return after;
}

// The first marked column of coverage row y left of `before`, or `before`.
int FirstMarked(const Coverage& coverage, int y, int before, const Marks& marked) {
  const std::uint8_t* row = coverage.Row(y);
  int x = 0;
  while (x < before) {
    if (x + 7 < before && WhiteWord(row + x)) {
      x += 8;
      continue;
    }
    if (marked[row[x]]) return x;
    ++x;
  }
  return before;
}

// The box of the marked values, in the coverage's own frame.
PixelBox MarkedBox(const Coverage& coverage, const Marks& marked) {
  const auto rowMarked = [&](int y) { return LastMarked(coverage, y, -1, marked) >= 0; };
  int first = 0;
  while (first < coverage.height && !rowMarked(first)) ++first;
  if (first == coverage.height) return {};
  int last = coverage.height - 1;
  while (!rowMarked(last)) --last;
  int firstCol = coverage.width, lastCol = -1;
  for (int y = first; y <= last; ++y) {
    firstCol = FirstMarked(coverage, y, firstCol, marked);
    lastCol = LastMarked(coverage, y, lastCol, marked);
  }
  return {coverage.left + firstCol, coverage.top + first, coverage.left + lastCol + 1,
          coverage.top + last + 1};
}

// The working image the trim crops, in working pixels from the text cell's
// top-left: the cell's W × H, widened where ink reaches past it, so that no
// ink is cut. Ink that starts left of or above the cell gets at least one
// clear column or row before it, as the trim keeps the image's first column
// and row unshifted; the widening is even, so the halving's grid stays where
// it was.
struct Frame {
  int left = 0, top = 0, width = 0, height = 0;
};

Frame FrameAround(const PixelBox& ink, int width, int height) {
  Frame f{0, 0, width, height};
  if (ink.Empty()) return f;
  if (ink.left < 0) f.left = (ink.left - 1) & ~1;
  if (ink.top < 1) f.top = (ink.top - 1) & ~1;
  f.width = std::max(width, ink.right) - f.left;
  f.height = std::max(height, ink.bottom) - f.top;
  return f;
}

struct InkBox {
  int top = 0, bottomCut = 0, rightCut = 0;
};

// As the trim finds the ink in the frame.
InkBox TrimOf(const PixelBox& ink, const Frame& f, bool everythingIsInk) {
  if (everythingIsInk) return {0, 1, 1};
  if (ink.Empty()) return {};
  return {ink.top - f.top, f.height - (ink.bottom - 1 - f.top), f.width - (ink.right - 1 - f.left)};
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
    if (WhiteWord(in + i))
      std::memcpy(out + i * Bytes, s.eightBackgrounds.data(), 8 * Bytes);
    else
      for (int j = i; j < i + 8; ++j) StorePixel<4>(out + j * Bytes, s.pixel[in[j]]);
  }
  for (; i < count - 1; ++i) StorePixel<4>(out + i * Bytes, s.pixel[in[i]]);
  StorePixel<Bytes>(out + (count - 1) * Bytes, s.pixel[in[count - 1]]);
}

// `count` working pixels of row y from column x (the cell's coordinates): the
// shades of the coverage inside it, the background elsewhere, also beyond the
// frame's edges, where the trim's resize adds that colour.
template <int Bytes>
void WriteWorkingRun(std::uint8_t* out, int y, int x, int count, const Coverage& coverage,
                     const Shades& s) {
  int before = count, inked = 0;
  if (y >= coverage.top && y < coverage.Bottom()) {
    before = std::clamp(coverage.left - x, 0, count);
    inked = std::clamp(coverage.Right() - x, 0, count) - before;
  }
  FillPixels<Bytes>(out, before, s.background);
  if (inked > 0)
    WriteShades<Bytes>(out + std::size_t(before) * Bytes,
                       coverage.Row(y - coverage.top) + (x + before - coverage.left), inked, s);
  const int done = before + inked;
  FillPixels<Bytes>(out + std::size_t(done) * Bytes, count - done, s.background);
}

// The trimmed working image row by row: Write makes any row on its own, so
// the image can be made whole or handed out a few rows at a time.
template <int Bytes>
class TrimmedRows {
 public:
  // The trim first widens an image without pixels to one column or row.
  TrimmedRows(const Coverage& coverage, int width, int height, TColor background, TColor textColor)
      : coverage_(coverage), s_(ShadesOf<Bytes>(background, textColor)) {
    const PixelBox ink = MarkedBox(coverage, s_.ink);
    frame_ = FrameAround(ink, std::max(width, 1), std::max(height, 1));
    box_ = TrimOf(ink, frame_, s_.everythingIsInk);
  }
  // The crop `colours` found, with the ink alone.
  struct InkOf {
    const TrimmedRows& colours;
  };
  explicit TrimmedRows(InkOf ink)
      : coverage_(ink.colours.coverage_),
        s_(InkShades<Bytes>()),
        frame_(ink.colours.frame_),
        box_(ink.colours.box_) {}

  int Width() const { return frame_.width - box_.rightCut + 5; }
  int Height() const { return frame_.height - box_.bottomCut - box_.top + 4; }
  // The first coverage row that rows y and below read.
  int FirstCoverageRowFrom(int y) const {
    return y + std::min(0, box_.top - 2) + frame_.top - coverage_.top;
  }

  // Row 0, column 0 and rows without a source row keep the frame's own
  // pixels; the rest is the frame one column right and (2 − top) rows down.
  void Write(int y, std::uint8_t* row) const {
    const int left = frame_.left, top = frame_.top;
    WriteWorkingRun<Bytes>(row, top + y, left, 1, coverage_, s_);
    const int source = y + box_.top - 2;
    if (y >= 1 && source >= 0 && source < frame_.height)
      WriteWorkingRun<Bytes>(row + Bytes, top + source, left, Width() - 1, coverage_, s_);
    else
      WriteWorkingRun<Bytes>(row + Bytes, top + y, left + 1, Width() - 1, coverage_, s_);
  }

 private:
  const Coverage& coverage_;
  const Shades s_;
  Frame frame_;
  InkBox box_;
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
  // The ink alone, cropped where `colours` crops.
  TrimmedRowProducer(const TrimmedRowProducer& colours, Coverage* giveBack)
      : rows_(TrimmedRows<3>::InkOf{colours.rows_}), giveBack_(giveBack) {}
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

CaptionAndInk HalvedCaptionAndInk(Coverage&& coverage, int width, int height, TColor background,
                                  TColor textColor) {
  Coverage used = std::move(coverage);
  // One crop for both; the ink, made last, gives the coverage back.
  const TrimmedRowProducer colours(used, width, height, background, textColor, nullptr);
  const TrimmedRowProducer ink(colours, &used);
  CaptionAndInk made;
  made.caption = Halved(colours, background);
  made.ink = HalveRows(ink);
  return made;
}

}  // namespace glyphary
