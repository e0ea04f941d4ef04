// The box a border and a shadow need around the text, and their layers in it.
#include <algorithm>
#include <utility>

#include "render/effect.h"

namespace glyphary {
namespace {

PixelBox Widened(const PixelBox& b, int by) {
  return {b.left - by, b.top - by, b.right + by, b.bottom + by};
}

PixelBox Moved(const PixelBox& b, int x, int y) {
  return {b.left + x, b.top + y, b.right + x, b.bottom + y};
}

// Every pixel either layer may cover: the border's reach round the text, and
// that shape moved by the offset with the blur's reach round it.
PixelBox LayerBox(const Coverage& text, const EffectReach& reach) {
  const PixelBox ink{text.left, text.top, text.Right(), text.Bottom()};
  if (ink.Empty()) return {};
  const PixelBox shape = Widened(ink, reach.Outermost());
  if (!reach.Shadow()) return shape;
  return Union(shape, Widened(Moved(shape, reach.shadowX, reach.shadowY), reach.blur));
}

void CheckSize(const PixelBox& box) {
  const std::int64_t pixels = std::int64_t(box.right - box.left) * (box.bottom - box.top);
  if (pixels > kMaxEffectPixels) throw Error(kEffectTooLarge);
}

// The text's alpha over the box, from its coverage (255 where it inks nothing).
AlphaLayer TextLayer(const Coverage& text, const PixelBox& box) {
  AlphaLayer layer(box.right - box.left, box.bottom - box.top);
  const int x = text.left - box.left;
  for (int y = 0; y < text.height; ++y) {
    const std::uint8_t* coverage = text.Row(y);
    std::uint8_t* alpha = layer.Row(y + text.top - box.top) + x;
    for (int i = 0; i < text.width; ++i) alpha[i] = std::uint8_t(255 - coverage[i]);
  }
  return layer;
}

// All the ink, the text's and the colour glyphs', as one alpha: what lies
// under either, as one over the other.
AlphaLayer InkOf(const AlphaLayer& text, const PixelBox& box, const ColourPatch& colour) {
  AlphaLayer ink = text;
  for (int y = 0; y < colour.height; ++y) {
    std::uint8_t* alpha = ink.Row(y + colour.top - box.top) + (colour.left - box.left);
    const std::uint8_t* pixel = colour.Row(y);
    for (int x = 0; x < colour.width; ++x, pixel += 4) {
      const unsigned t = alpha[x], c = pixel[3];
      alpha[x] = std::uint8_t(t + c - (t * c + 127) / 255);
    }
  }
  return ink;
}

// The effect's values taken into their ranges, in working pixels.
EffectReach ReachOf(const CaptionEffect& effect) {
  EffectReach r;
  r.outline = 2 * std::clamp(effect.outlineWidth, 0, kMaxOutlineWidth);
  // The second border lies outside the first: its reach counts from the text.
  if (effect.outerOutlineWidth > 0)
    r.outerOutline = r.outline + 2 * std::clamp(effect.outerOutlineWidth, 0, kMaxOutlineWidth);
  r.shadowX = 2 * std::clamp(effect.shadowX, -kMaxShadowOffset, kMaxShadowOffset);
  r.shadowY = 2 * std::clamp(effect.shadowY, -kMaxShadowOffset, kMaxShadowOffset);
  if (r.Shadow()) r.blur = 2 * std::clamp(effect.shadowBlur, 0, kMaxShadowBlur);
  return r;
}

}  // namespace

EffectLayers MakeEffectLayers(const Coverage& text, const CaptionEffect& effect) {
  const EffectReach reach = ReachOf(effect);
  EffectLayers layers;
  layers.box = LayerBox(text, reach);
  if (layers.box.Empty()) return layers;
  CheckSize(layers.box);
  layers.text = TextLayer(text, layers.box);
  layers.colour = text.colour;
  if (reach.Outermost() == 0 && !reach.Shadow()) return layers;
  const AlphaLayer ink =
      layers.colour.Empty() ? AlphaLayer{} : InkOf(layers.text, layers.box, layers.colour);
  const AlphaLayer& shape = layers.colour.Empty() ? layers.text : ink;
  Outlines outlines = OutlinesOf(shape, reach.outline, reach.outerOutline);
  layers.outline = std::move(outlines.inner);
  layers.outerOutline = std::move(outlines.outer);
  // The outermost shape casts the shadow.
  const AlphaLayer& outermost = !layers.outerOutline.Empty() ? layers.outerOutline
                                : !layers.outline.Empty()    ? layers.outline
                                                             : shape;
  if (reach.Shadow()) layers.shadow = ShadowOf(outermost, reach);
  return layers;
}

}  // namespace glyphary
