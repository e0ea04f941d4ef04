// Reading a caption with a border or a shadow back pixel by pixel: captions
// drawn in pure colours over white, so that each channel tells one layer.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "render/render.h"
#include "same_pixels.h"

namespace glyphary {

inline const std::string kEffectText = "gyjpq ÉÅ 日本語";

// Black text over white in a face with Japanese glyphs, at `points`.
inline CaptionStyle PlainStyle(int points = 40) {
  CaptionStyle s;
  s.faceName = "IPAPGothic";
  s.pointSize = points;
  s.textColor = kColorBlack;
  s.backgroundColor = kColorWhite;
  return s;
}

inline Bitmap Opaque(const std::string& text, const CaptionStyle& style, FontEngine& engine) {
  Bitmap b;
  RenderCaption(b, text, style, engine);
  return b;
}

inline Bitmap Transparent(const std::string& text, const CaptionStyle& style, FontEngine& engine) {
  Bitmap b;
  RenderAlphaCaption(b, text, style, engine);
  return b;
}

// One channel of a caption as how far it lies below 255, row by row.
struct Darkness {
  int width = 0, height = 0;
  std::vector<int> values;

  Darkness(const Bitmap& b, std::uint8_t (*channel)(TColor))
      : width(b.Width()), height(b.Height()), values(std::size_t(width) * height) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        values[std::size_t(y) * width + x] = 255 - channel(b.PixelAt(x, y));
  }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  // 0 outside the caption, where only background lies.
  int At(int x, int y) const { return Inside(x, y) ? values[std::size_t(y) * width + x] : 0; }
};

// The Euclidean distance from (x, y) to the nearest pixel where `marked`
// holds, looking no further than `reach`; reach + 1 where none is that near.
template <typename Marked>
double NearestMarked(int x, int y, int reach, Marked&& marked) {
  double best = reach + 1;
  for (int dy = -reach; dy <= reach; ++dy)
    for (int dx = -reach; dx <= reach; ++dx)
      if (marked(x + dx, y + dy)) best = std::min(best, std::hypot(dx, dy));
  return best;
}

// The Chebyshev distance, the reach of blurs made of boxes, likewise.
template <typename Marked>
int NearestMarkedSquare(int x, int y, int reach, Marked&& marked) {
  int best = reach + 1;
  for (int dy = -reach; dy <= reach; ++dy)
    for (int dx = -reach; dx <= reach; ++dx)
      if (marked(x + dx, y + dy)) best = std::min(best, std::max(std::abs(dx), std::abs(dy)));
  return best;
}

}  // namespace glyphary
