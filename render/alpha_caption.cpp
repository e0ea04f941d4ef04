// A caption's alpha: the ink's own coverage, fitted to the opaque caption.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <utility>

#include "render/caption.h"

namespace glyphary {
namespace {

// How far the alpha may move from the ink's: the opaque caption rounds each
// blend and each halving down, the ink as well, but not in step.
constexpr int kReach = 3;

struct Channels {
  std::array<int, 3> background, text;  // blue, green, red
  int strongest;                        // where text and background differ most
};

Channels ChannelsOf(TColor bg, TColor text) {
  Channels c{{BlueOf(bg), GreenOf(bg), RedOf(bg)}, {BlueOf(text), GreenOf(text), RedOf(text)}, 0};
  for (int i = 1; i < 3; ++i)
    if (std::abs(c.text[i] - c.background[i]) >
        std::abs(c.text[c.strongest] - c.background[c.strongest]))
      c.strongest = i;
  return c;
}

// How far the text laid over the background with alpha `a` lies from the
// opaque pixel: in the worst channel, then in the channel of strongest
// contrast, which shows a miss the most.
std::pair<int, int> Miss(const Channels& c, int a, const std::uint8_t* opaque) {
  std::array<int, 3> miss;
  for (int i = 0; i < 3; ++i) {
    const int shown = (c.background[i] * (255 - a) + c.text[i] * a + 127) / 255;
    miss[i] = std::abs(shown - int(opaque[i]));
  }
  return {std::max({miss[0], miss[1], miss[2]}), miss[c.strongest]};
}

// The alpha nearest the ink's that misses the opaque pixel least.
std::uint8_t Fitted(const Channels& c, int ink, const std::uint8_t* opaque) {
  int best = ink;
  std::pair<int, int> bestMiss = Miss(c, ink, opaque);
  for (int step = 1; step <= kReach && bestMiss.first > 0; ++step)
    for (const int a : {ink - step, ink + step}) {
      if (a < 0 || a > 255) continue;
      if (const auto miss = Miss(c, a, opaque); miss < bestMiss) {
        best = a;
        bestMiss = miss;
      }
    }
  return std::uint8_t(best);
}

}  // namespace

Bitmap AlphaCaption(const Bitmap& opaque, const Bitmap& ink, TColor background, TColor textColor) {
  const TColor bg = ColorToRGB(background), text = ColorToRGB(textColor);
  const Channels c = ChannelsOf(bg, text);
  Bitmap out = Bitmap::Uninitialised(ink.Width(), ink.Height(), 32);
  for (int y = 0; y < ink.Height(); ++y) {
    const std::uint8_t* in = ink.Row(y);
    const std::uint8_t* shown = opaque.Row(y);
    std::uint8_t* row = out.Row(y);
    for (int x = 0; x < ink.Width(); ++x, in += 3, shown += 3, row += 4) {
      row[0] = std::uint8_t(c.text[0]);
      row[1] = std::uint8_t(c.text[1]);
      row[2] = std::uint8_t(c.text[2]);
      row[3] = Fitted(c, in[0], shown);
    }
  }
  out.SetBrushColor(background);
  return out;
}

}  // namespace glyphary
