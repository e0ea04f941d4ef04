// A caption with real transparency: the text colour everywhere, the ink's
// coverage as alpha, so that it sits on any picture without a fringe.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <string>

#include "alpha_over.h"
#include "render/render.h"

namespace glyphary {
namespace {

using Channel = std::uint8_t (*)(TColor);
constexpr Channel kChannels[] = {RedOf, GreenOf, BlueOf};

int Difference(TColor a, TColor b, Channel channel) {
  return std::abs(int(channel(a)) - int(channel(b)));
}

// Face, points, bold, italic, underline, text and background colour.
const CaptionStyle kStyles[] = {
    {"IPAPGothic", 25, false, false, false, kColorBlack, kColorWhite, {}},
    {"IPAMincho", 40, true, false, false, Rgb(200, 30, 60), Rgb(250, 250, 210), {}},
    {"DejaVu Serif", 33, false, true, false, kColorWhite, kColorBlack, {}},
    {"DejaVu Sans", 18, true, true, true, Rgb(0, 90, 255), Rgb(255, 200, 0), {}},
    {"IPAGothic", 61, false, false, true, Rgb(10, 10, 10), Rgb(12, 200, 12), {}},
    {"DejaVu Sans", 9, false, false, false, Rgb(255, 255, 0), Rgb(0, 0, 128), {}},
};

const std::string kText = "Égypte gypsy 日本語 fj";

// The opaque caption rounds each channel's blend and halving down on its
// own, so it is not exactly one alpha's blend: where text and background
// differ alike in every channel (black on white) the alpha caption matches
// it within 1, otherwise within 2 at a rare pixel where the channels'
// roundings pull apart.
TEST(AlphaCaption, OverItsOwnBackgroundItIsTheOpaqueCaption) {
  FontEngine engine;
  for (const CaptionStyle& c : kStyles) {
    SCOPED_TRACE(c.faceName + " " + std::to_string(c.pointSize) + " pt");
    Bitmap opaque, alpha;
    RenderCaption(opaque, kText, c, engine);
    RenderAlphaCaption(alpha, kText, c, engine);
    ASSERT_EQ(alpha.BitsPerPixel(), 32);
    ASSERT_EQ(alpha.Width(), opaque.Width());
    ASSERT_EQ(alpha.Height(), opaque.Height());
    const bool grey = RedOf(c.textColor) == GreenOf(c.textColor) &&
                      GreenOf(c.textColor) == BlueOf(c.textColor) &&
                      RedOf(c.backgroundColor) == GreenOf(c.backgroundColor) &&
                      GreenOf(c.backgroundColor) == BlueOf(c.backgroundColor);
    int inked = 0, offByTwo = 0;
    for (int y = 0; y < alpha.Height(); ++y)
      for (int x = 0; x < alpha.Width(); ++x) {
        const TColor shown = Over(alpha, x, y, c.backgroundColor), want = opaque.PixelAt(x, y);
        for (Channel channel : kChannels) {
          ASSERT_LE(Difference(shown, want, channel), grey ? 1 : 2) << x << "," << y;
          offByTwo += Difference(shown, want, channel) == 2;
        }
        inked += alpha.Row(y)[4 * x + 3] != 0;
        // Every pixel carries the text colour; only its alpha varies.
        ASSERT_EQ(alpha.PixelAt(x, y), c.textColor);
      }
    EXPECT_LT(offByTwo * 50, alpha.Width() * alpha.Height()) << "under 2 per cent";
    EXPECT_GT(inked, 100);
    EXPECT_EQ(alpha.Row(0)[3], 0) << "the background is fully transparent";
  }
}

// Where the alphas that come nearest the opaque caption tie, the one that
// misses least in the channel of strongest contrast wins, as a miss there
// shows the most: that channel stays within 1 and misses far less often than
// the others, whichever channel it is.
TEST(AlphaCaption, TheChannelOfStrongestContrastMissesLeast) {
  FontEngine engine;
  const struct {
    TColor text, background;
    int strongest;  // index into kChannels
  } cases[] = {
      {Rgb(230, 40, 40), Rgb(20, 60, 90), 0},
      {Rgb(200, 100, 100), Rgb(10, 60, 30), 0},
      {Rgb(40, 230, 40), Rgb(90, 20, 60), 1},
      {Rgb(40, 60, 230), Rgb(90, 70, 10), 2},
  };
  for (const auto& c : cases) {
    const CaptionStyle style{"IPAPGothic", 33, false, false, false, c.text, c.background, {}};
    Bitmap opaque, alpha;
    RenderCaption(opaque, kText, style, engine);
    RenderAlphaCaption(alpha, kText, style, engine);
    int misses[3] = {0, 0, 0}, worst = 0;
    for (int y = 0; y < alpha.Height(); ++y)
      for (int x = 0; x < alpha.Width(); ++x)
        for (int k = 0; k < 3; ++k) {
          const int miss =
              Difference(Over(alpha, x, y, c.background), opaque.PixelAt(x, y), kChannels[k]);
          misses[k] += miss > 0;
          if (k == c.strongest) worst = std::max(worst, miss);
        }
    SCOPED_TRACE("channel " + std::to_string(c.strongest));
    EXPECT_LE(worst, 1);
    for (int k = 0; k < 3; ++k) {
      if (k == c.strongest) continue;
      EXPECT_LT(10 * misses[c.strongest], misses[k]) << "channel " << k;
    }
  }
}

// Laid over black or white, nothing of the background it was made on shows:
// every pixel lies between the new background and the text colour.
TEST(AlphaCaption, OverBlackOrWhiteNoFringeOfItsOwnBackgroundShows) {
  FontEngine engine;
  for (const CaptionStyle& c : kStyles)
    for (const TColor under : {kColorBlack, kColorWhite}) {
      Bitmap alpha;
      RenderAlphaCaption(alpha, kText, c, engine);
      for (int y = 0; y < alpha.Height(); ++y)
        for (int x = 0; x < alpha.Width(); ++x) {
          const TColor shown = Over(alpha, x, y, under);
          for (Channel channel : kChannels) {
            const int low = std::min(channel(under), channel(c.textColor));
            const int high = std::max(channel(under), channel(c.textColor));
            ASSERT_TRUE(channel(shown) >= low && channel(shown) <= high)
                << c.faceName << " at " << x << "," << y;
          }
        }
    }
}

}  // namespace
}  // namespace glyphary
