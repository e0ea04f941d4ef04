// Internals of a caption's border and shadow, open to tests and benchmarks.
// Both are made in working pixels, twice the caption's, as alpha layers
// over one box, and laid under the text before the halving.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "render/antialias.h"
#include "render/caption.h"
#include "render/render.h"

namespace glyphary {

// The most working pixels the layers may span: at one byte a layer and a
// pixel, a few times this is what a border and a shadow add to a rendering.
inline constexpr std::int64_t kMaxEffectPixels = std::int64_t(1) << 24;

// A caption that renders plain but whose border and shadow would take more.
inline constexpr char kEffectTooLarge[] = "縁取りと影を付けると大きすぎるため画像を作成できません";

// An effect's reach in working pixels: even, so that the halving's grid
// stays and a shadow moved by n working pixels moves by n / 2 in the caption.
struct EffectReach {
  int outline = 0;               // the border's radius
  int outerOutline = 0;          // the second border's, from the text; 0 for none
  int shadowX = 0, shadowY = 0;  // the shadow's offset; 0, 0 for none
  int blur = 0;                  // how far the blurred shadow spreads past its shape

  bool Shadow() const { return shadowX != 0 || shadowY != 0; }
  // How far the outermost border reaches from the text.
  int Outermost() const { return std::max(outline, outerOutline); }
};

// One byte of alpha a working pixel, 255 opaque, rows top first.
struct AlphaLayer {
  int width = 0, height = 0;
  std::vector<std::uint8_t> alpha;

  AlphaLayer() = default;
  AlphaLayer(int w, int h) : width(w), height(h), alpha(std::size_t(w) * h) {}
  bool Empty() const { return alpha.empty(); }
  const std::uint8_t* Row(int y) const { return alpha.data() + std::size_t(y) * width; }
  std::uint8_t* Row(int y) { return alpha.data() + std::size_t(y) * width; }
};

// The layers of a caption's effect over one box of working pixels (the
// cell's coordinates), the colour glyphs over the text. A layer the caption
// does not have is empty.
struct EffectLayers {
  PixelBox box;
  AlphaLayer text, outline, outerOutline, shadow;
  ColourPatch colour;  // in the cell's coordinates, as the box
  // For a gradient fill: where each line's (vertical character's) ink runs.
  std::vector<InkSpan> spans;
  bool verticalSpans = false;
};

// The layers of an effect (clamped) around the text's coverage; the border
// and the shadow surround the colour glyphs as any other ink. Throws Error
// when they would span more than kMaxEffectPixels.
EffectLayers MakeEffectLayers(const Coverage& text, const CaptionEffect& effect);

// The text widened by `radius` (1 … 4 × kMaxOutlineWidth) with round joins:
// the Euclidean distance to the nearest inked pixel, less how far that
// pixel's own coverage reaches, so that the border's edge keeps the text's
// sub-pixel position. Never below the text's own alpha.
AlphaLayer OutlineOf(const AlphaLayer& text, int radius);
// Two such widenings of the same text at once, sharing the search of its
// columns; a radius of 0 gives an empty layer.
struct Outlines {
  AlphaLayer inner, outer;
};
Outlines OutlinesOf(const AlphaLayer& text, int innerRadius, int outerRadius);

// The shape moved by the reach's offset and spread by its blur, in a layer
// of the shape's size, which must leave room for both.
AlphaLayer ShadowOf(const AlphaLayer& shape, const EffectReach& reach);

// The caption with its effect or its colour glyphs, as RenderCaption makes
// it, and with real alpha, as RenderAlphaCaption makes it; both free the
// coverage early.
Bitmap HalvedWithEffect(WorkingCoverage&& working, const CaptionStyle& style);
Bitmap AlphaWithEffect(WorkingCoverage&& working, const CaptionStyle& style);
// The 24-bit working image that HalvedWithEffect halves, made whole.
Bitmap TrimmedWithEffect(const WorkingCoverage& working, const CaptionStyle& style);

// The fill's share of the second colour (0 … 256) for `count` working
// pixels of row y from column x: 0 at the top of its line's ink, 256 at the
// bottom; in vertical text by its character's ink in its column.
void GradientShares(const EffectLayers& layers, int y, int x, int count, std::uint16_t* shares);

}  // namespace glyphary
