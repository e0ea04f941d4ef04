// The trimmed working image built straight from the text's coverage: the
// pixels a filled, blended and trimmed working image would hold, each
// written once, without the image around the ink ever existing.
#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#include "render/caption.h"
#include "render/trimmed_rows.h"

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
  s.everythingIsInk = NoPixelEquals(background);
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

// The coverage painted in its shades: the text blended into the background,
// the colour glyphs laid over it.
template <int Bytes>
struct CoverageSource {
  static constexpr int kBytes = Bytes;
  const Coverage& coverage;
  Shades shades;
  void Write(std::uint8_t* out, int y, int x, int count) const {
    WriteWorkingRun<Bytes>(out, y, x, count, coverage, shades);
    if (coverage.HasColour()) LayColourPatch<Bytes>(out, y, x, count, coverage.colour);
  }
};

template <int Bytes>
CoverageSource<Bytes> ShadedCoverage(const Coverage& coverage, TColor background,
                                     TColor textColor) {
  return {coverage, ShadesOf<Bytes>(background, textColor)};
}

template <int Bytes>
Crop CropOf(const CoverageSource<Bytes>& source, int width, int height) {
  const Coverage& c = source.coverage;
  const PixelBox marked = MarkedBox(c, source.shades.ink);
  return {c.HasColour() ? Union(marked, ColourInk(c.colour)) : marked, width, height,
          source.shades.everythingIsInk};
}

template <int Bytes>
TrimmedRows<CoverageSource<Bytes>> RowsOf(const Coverage& coverage, int width, int height,
                                          TColor background, TColor textColor) {
  CoverageSource<Bytes> source = ShadedCoverage<Bytes>(coverage, background, textColor);
  const Crop crop = CropOf(source, width, height);
  return {std::move(source), crop};
}

using CoverageProducer = TrimmedRowProducer<CoverageSource<3>>;

}  // namespace

Bitmap TrimmedFromCoverage(const Coverage& coverage, int width, int height, TColor background,
                           TColor textColor, int bitsPerPixel) {
  Bitmap out = bitsPerPixel == 24
                   ? Compose(RowsOf<3>(coverage, width, height, background, textColor))
                   : Compose(RowsOf<4>(coverage, width, height, background, textColor));
  out.SetBrushColor(background);
  return out;
}

void WriteWorkingPixels(std::uint8_t* out, int y, int x, int count, const Coverage& coverage,
                        TColor background, TColor textColor, int bytesPerPixel) {
  if (bytesPerPixel == 3)
    ShadedCoverage<3>(coverage, background, textColor).Write(out, y, x, count);
  else
    ShadedCoverage<4>(coverage, background, textColor).Write(out, y, x, count);
}

Bitmap HalvedFromCoverage(const Coverage& coverage, int width, int height, TColor background,
                          TColor textColor) {
  const CoverageSource<3> source = ShadedCoverage<3>(coverage, background, textColor);
  return Halved(CoverageProducer(source, CropOf(source, width, height), nullptr), background);
}

Bitmap HalvedFromCoverage(Coverage&& coverage, int width, int height, TColor background,
                          TColor textColor) {
  // Taken over, so that no caller reads the rows given back.
  Coverage used = std::move(coverage);
  const CoverageSource<3> source = ShadedCoverage<3>(used, background, textColor);
  return Halved(CoverageProducer(source, CropOf(source, width, height), &used), background);
}

CaptionAndInk HalvedCaptionAndInk(Coverage&& coverage, int width, int height, TColor background,
                                  TColor textColor) {
  Coverage used = std::move(coverage);
  // One crop for both; the ink, made last, gives the coverage back.
  const CoverageSource<3> source = ShadedCoverage<3>(used, background, textColor);
  const Crop crop = CropOf(source, width, height);
  CaptionAndInk made;
  made.caption = Halved(CoverageProducer(source, crop, nullptr), background);
  made.ink = HalveRows(CoverageProducer({used, InkShades<3>()}, crop, &used));
  return made;
}

}  // namespace glyphary
