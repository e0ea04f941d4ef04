// Every caption of a fixed random set keeps its exact bytes, and the fast
// pipeline makes what the literal steps make. To write the checksum table
// anew, run with GLYPHARY_WRITE_CAPTION_CHECKSUMS=<file>.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "literal_steps.h"
#include "render/caption.h"
#include "render/render.h"
#include "resample/resample.h"
#include "same_pixels.h"

namespace glyphary {
namespace {

struct Checksum {
  int width, height;
  std::uint64_t hash;
};

const Checksum kExpected[] = {
#include "caption_checksums.inc"
};

// Small and portable, so that the set is the same on every library.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint32_t Next() {
    state_ = state_ * 6364136223846793005u + 1442695040888963407u;
    return std::uint32_t(state_ >> 33);
  }
  int Below(int n) { return int(Next() % std::uint32_t(n)); }
  bool OneIn(int n) { return Below(n) == 0; }
  template <typename T, std::size_t N>
  const T& Pick(const T (&items)[N]) {
    return items[Below(int(N))];
  }

 private:
  std::uint64_t state_;
};

const char* const kFaces[] = {
    "ＭＳ Ｐゴシック", "ＭＳ 明朝",    "DejaVu Sans", "Default", "",
    "No Such Face",    "DejaVu Serif", "IPAMincho",   "default", "MS UI Gothic"};

// Pieces that reach the corners: spaces at either end, glyphs that overhang
// their advance in italic, descenders, Japanese, a lone space.
const char* const kPieces[] = {"Sunny Day", "今日の天気は晴れ",
                               " ",         "  ",
                               "gM",        "fff",
                               "Wj",        "ｱｲｳｴｵ",
                               "2024",      "、。",
                               "/",         "y",
                               "Ｑ",        "f",
                               "ll",        "|",
                               "晴",        "A B"};

std::string RandomText(Random& r) {
  if (r.OneIn(12)) return "";
  std::string text;
  for (int n = 1 + r.Below(4); n > 0; --n) text += r.Pick(kPieces);
  return text;
}

int RandomPoints(Random& r) {
  const int roll = r.Below(100);
  if (roll < 6) return -r.Below(40);  // 0 and negatives: default and cell heights
  if (roll < 60) return 1 + r.Below(40);
  if (roll < 90) return 41 + r.Below(80);
  return 121 + r.Below(80);
}

// Drawn one by one: the order in which a call's arguments are worked out is
// the compiler's, and the checksums hold for this order (blue first).
TColor RandomColor(Random& r) {
  const auto blue = std::uint8_t(r.Below(256));
  const auto green = std::uint8_t(r.Below(256));
  const auto red = std::uint8_t(r.Below(256));
  return Rgb(red, green, blue);
}

CaptionStyle RandomStyle(Random& r) {
  CaptionStyle s;
  s.faceName = r.Pick(kFaces);
  s.pointSize = RandomPoints(r);
  s.bold = r.OneIn(3);
  s.italic = r.OneIn(3);
  s.underline = r.OneIn(3);
  s.textColor = r.OneIn(3) ? kColorBlack : RandomColor(r);
  const int background = r.Below(10);
  s.backgroundColor = background < 4   ? kColorWhite
                      : background < 5 ? 0x8000000F  // system colours: nothing is cropped
                      : background < 6 ? 0x80000005
                                       : RandomColor(r);
  return s;
}

std::uint64_t HashOf(const Bitmap& b) {
  std::uint64_t h = 14695981039346656037u;
  const auto mix = [&h](std::uint8_t byte) { h = (h ^ byte) * 1099511628211u; };
  mix(std::uint8_t(b.BitsPerPixel()));
  for (std::size_t i = 0; i < b.ImageSize(); ++i) mix(b.Bits()[i]);
  return h;
}

constexpr int kCases = 400;

TEST(CaptionIdentity, EveryRandomCaptionKeepsItsExactBytes) {
  FontEngine engine;
  Random r(20261207);
  // One bitmap for every caption, as a batch run passes it.
  Bitmap caption;
  std::vector<Checksum> got;
  for (int i = 0; i < kCases; ++i) {
    const CaptionStyle style = RandomStyle(r);
    const std::string text = RandomText(r);
    RenderCaption(caption, text, style, engine);
    got.push_back({caption.Width(), caption.Height(), HashOf(caption)});
  }
  if (const char* path = std::getenv("GLYPHARY_WRITE_CAPTION_CHECKSUMS")) {
    std::ofstream out(path);
    for (const Checksum& c : got)
      out << "{" << c.width << ", " << c.height << ", 0x" << std::hex << c.hash << std::dec
          << "u},\n";
    GTEST_SKIP() << "checksums written to " << path;
  }
  ASSERT_EQ(std::size(kExpected), got.size());
  Random replay(20261207);
  for (int i = 0; i < kCases; ++i) {
    const CaptionStyle style = RandomStyle(replay);
    const std::string text = RandomText(replay);
    EXPECT_TRUE(got[i].width == kExpected[i].width && got[i].height == kExpected[i].height &&
                got[i].hash == kExpected[i].hash)
        << "case " << i << ": \"" << text << "\" in \"" << style.faceName << "\" "
        << style.pointSize << " pt, bold " << style.bold << ", italic " << style.italic
        << ", underline " << style.underline << ", background " << std::hex
        << style.backgroundColor;
  }
}

// The working image made whole, as the steps read one by one: filled with
// the background, the text blended in, then trimmed; with ample room around
// the text's cell, so that nothing the text inks falls outside.
Bitmap LiteralWorkingCaption(const std::string& text, const CaptionStyle& style,
                             FontEngine& engine) {
  const FontDescription font = WorkingFont(style, engine);
  const int lineH = engine.Extent(font, "gM").cy;
  const int room = 2 * (std::abs(font.height) + 8);
  Bitmap b(0, 0, 32);
  b.SetBrushColor(style.backgroundColor);
  b.SetSize(2 * engine.Extent(font, text).cx + 2 * room, lineH + lineH / 2 + 2 * room);
  DrawAntialiasedText(b, room, room, font, text, FontEngine::IsShiftJisFont(font.faceName), engine);
  TrimToContent(b, style.backgroundColor);
  return b;
}

// The pipeline's image from column 1 on is the literal one from column 1 + d
// on, where d, even, is the room the literal canvas has left of the ink and
// the pipeline has not.
bool SameRightOfColumnZero(const Bitmap& pipeline, const Bitmap& literal) {
  const int d = literal.Width() - pipeline.Width();
  if (pipeline.Height() != literal.Height() || d < 0 || d % 2 != 0) return false;
  for (int y = 0; y < pipeline.Height(); ++y)
    if (std::memcmp(pipeline.Row(y) + 4, literal.Row(y) + 4 * (1 + d),
                    4 * std::size_t(pipeline.Width() - 1)) != 0)
      return false;
  return true;
}

bool HasInk(const Bitmap& b, TColor background) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (b.PixelAt(x, y) != background) return true;
  return false;
}

TEST(CaptionIdentity, TheWorkingImageIsWhatTheLiteralStepsMake) {
  FontEngine engine;
  Random r(7);
  int compared = 0;
  for (int i = 0; i < 120; ++i) {
    CaptionStyle style = RandomStyle(r);
    style.pointSize %= 80;  // the literal image is twice the advance wide
    const std::string text = RandomText(r);
    Bitmap working, caption;
    RenderWorkingCaption(working, text, style, engine);
    // Without ink, or with nothing cropped, the size follows the canvas.
    if (!IsSystemColor(style.backgroundColor) && HasInk(working, style.backgroundColor)) {
      ++compared;
      ASSERT_TRUE(SameRightOfColumnZero(working, LiteralWorkingCaption(text, style, engine)))
          << "case " << i << ": \"" << text << "\" " << style.pointSize << " pt";
    }
    RenderCaption(caption, text, style, engine);
    StretchBitmap(working, working.Width() / 2, working.Height() / 2);
    ASSERT_TRUE(SameBytes(caption, working)) << "case " << i;
  }
  EXPECT_GT(compared, 60);
}

}  // namespace
}  // namespace glyphary
