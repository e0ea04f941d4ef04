// A caption with borders and a shadow: the layers laid over each other in
// working pixels, shadow first, then the outer border, the border, the text
// in its colour or gradient and its colour glyphs, trimmed round all of
// their ink and halved as a plain caption is.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <utility>

#include "render/caption.h"
#include "render/effect.h"
#include "render/trimmed_rows.h"

namespace glyphary {
namespace {

// As the text has always been blended: alpha a keeps 256 − a parts in 256
// of what lies below. No term passes 16 bits, so the mixing vectorises.
struct OpaqueBlend {
  static unsigned Mix(unsigned below, unsigned colour, unsigned a) {
    return std::uint16_t(below * (256 - a) + colour * a) >> 8;
  }
};

// Rounded to the nearest, t / 255 as (t + 128 + ((t + 128) >> 8)) >> 8, so
// that full ink is exactly opaque over nothing.
struct ExactBlend {
  static unsigned Mix(unsigned below, unsigned colour, unsigned a) {
    const auto t = std::uint16_t(below * (255 - a) + colour * a + 128);
    return std::uint16_t(t + (t >> 8)) >> 8;
  }
};

// Pixel words (blue, green, red, 0): what lies below every layer, and the
// colour of each; the colour glyphs in their own colours, or as white when
// the layers paint their opacity.
struct Palette {
  std::uint32_t under, shadow, outerOutline, outline, text;
  bool glyphColours = true;
  // A fill from `text` at the top of each line's ink to `textEnd` at its bottom.
  bool gradient = false;
  std::uint32_t textEnd = 0;
};

// One row of every layer from the box's left edge; absent layers read as
// zeros. The colour glyphs' row covers box columns [colourFrom, colourTo),
// null where the row has none.
struct LayerRows {
  const std::uint8_t *shadow, *outerOutline, *outline, *text, *colour;
  int colourFrom = 0, colourTo = 0;
};

unsigned Channel(std::uint32_t word, int k) {
  return (word >> (8 * k)) & 0xFF;
}

// What the layers paint, a Source for TrimmedRows.
template <typename Blend>
class LayerSource {
 public:
  static constexpr int kBytes = 3;

  // `zeros`: a row of the box's width, read for the layers the effect lacks.
  LayerSource(const EffectLayers& layers, const Palette& palette, const std::uint8_t* zeros)
      : layers_(layers), palette_(palette), zeros_(zeros) {}

  const PixelBox& Box() const { return layers_.box; }

  static bool Clear(const LayerRows& r, int i) {
    return (r.shadow[i] | r.outerOutline[i] | r.outline[i] | r.text[i]) == 0 &&
           (!r.colour || i < r.colourFrom || i >= r.colourTo ||
            r.colour[4 * (i - r.colourFrom) + 3] == 0);
  }

  // Row y, inside the box.
  LayerRows Rows(int y) const {
    const int at = y - layers_.box.top;
    const auto row = [&](const AlphaLayer& layer) {
      return layer.Empty() ? zeros_ : layer.Row(at);
    };
    LayerRows rows{row(layers_.shadow), row(layers_.outerOutline), row(layers_.outline),
                   row(layers_.text), nullptr};
    const ColourPatch& colour = layers_.colour;
    if (y >= colour.top && y < colour.Bottom()) {
      rows.colour = colour.Row(y - colour.top);
      rows.colourFrom = colour.left - layers_.box.left;
      rows.colourTo = rows.colourFrom + colour.width;
    }
    return rows;
  }

  void Write(std::uint8_t* out, int y, int x, int count) const {
    const PixelBox& box = layers_.box;
    int before = count, inside = 0;
    if (y >= box.top && y < box.bottom) {
      before = std::clamp(box.left - x, 0, count);
      inside = std::clamp(box.right - x, 0, count) - before;
    }
    FillPixels<3>(out, before, palette_.under);
    if (inside > 0) WriteInside(out + 3 * before, y, Rows(y), x + before - box.left, inside);
    FillPixels<3>(out + 3 * (before + inside), count - before - inside, palette_.under);
  }

 private:
  // `count` pixels of row y from index i of the rows: a block at a time,
  // channel by channel, then laid out as pixels.
  void WriteInside(std::uint8_t* out, int y, const LayerRows& r, int i, int count) const {
    constexpr int kBlock = 64;
    std::array<std::array<std::uint8_t, kBlock>, 3> channels;
    std::array<std::uint16_t, kBlock> shares;
    std::array<std::uint8_t, kBlock> fill;
    const bool gradient = palette_.gradient && !layers_.spans.empty();
    for (int n = 0; n < count; n += kBlock) {
      const int m = std::min(kBlock, count - n);
      if (gradient) GradientShares(layers_, y, layers_.box.left + i + n, m, shares.data());
      // The colour glyphs' part of these pixels.
      const int from = std::max(i + n, r.colourFrom), to = std::min(i + n + m, r.colourTo);
      for (int k = 0; k < 3; ++k) {
        if (gradient) FillChannel(shares.data(), m, k, fill.data());
        MixChannel(r, i + n, m, k, gradient ? fill.data() : nullptr, channels[k].data());
        if (r.colour && from < to)
          LayColour(r.colour + 4 * (from - r.colourFrom), to - from, k,
                    channels[k].data() + (from - i - n));
      }
      std::uint8_t* pixel = out + 3 * n;
      for (int j = 0; j < m; ++j, pixel += 3) {
        pixel[0] = channels[0][j];
        pixel[1] = channels[1][j];
        pixel[2] = channels[2][j];
      }
    }
  }

  // Channel k of the fill: linear from the text colour to the second one.
  void FillChannel(const std::uint16_t* shares, int count, int k, std::uint8_t* out) const {
    const int top = int(Channel(palette_.text, k));
    const int span = int(Channel(palette_.textEnd, k)) - top;
    for (int x = 0; x < count; ++x) out[x] = std::uint8_t(top + ((span * shares[x] + 128) >> 8));
  }

  // Channel k of the layers present over the background; the text in the
  // fill's colours where `fill` is given. A layer without alpha changes nothing.
  void MixChannel(const LayerRows& r, int i, int count, int k, const std::uint8_t* fill,
                  std::uint8_t* __restrict out) const {
    std::fill_n(out, count, std::uint8_t(Channel(palette_.under, k)));
    const auto lay = [&](const std::uint8_t* alpha, std::uint32_t colour) {
      if (alpha == zeros_) return;
      const unsigned c = Channel(colour, k);
      const std::uint8_t* __restrict a = alpha + i;
      for (int x = 0; x < count; ++x) out[x] = std::uint8_t(Blend::Mix(out[x], c, a[x]));
    };
    lay(r.shadow, palette_.shadow);
    lay(r.outerOutline, palette_.outerOutline);
    lay(r.outline, palette_.outline);
    if (!fill) {
      lay(r.text, palette_.text);
      return;
    }
    const std::uint8_t* __restrict a = r.text + i;
    for (int x = 0; x < count; ++x) out[x] = std::uint8_t(Blend::Mix(out[x], fill[x], a[x]));
  }

  // Channel k of the colour glyphs over the mixed channel.
  void LayColour(const std::uint8_t* colour, int count, int k, std::uint8_t* out) const {
    for (int x = 0; x < count; ++x, colour += 4) {
      const unsigned alpha = colour[3];
      out[x] =
          std::uint8_t(OverPremultiplied(out[x], palette_.glyphColours ? colour[k] : alpha, alpha));
    }
  }

  const EffectLayers& layers_;
  Palette palette_;
  const std::uint8_t* zeros_;
};

using OpaqueLayers = LayerSource<OpaqueBlend>;
using PremultipliedLayers = LayerSource<ExactBlend>;

// The box of every pixel a layer touches, in the cell's coordinates. Unlike
// the plain caption's trim, which keeps only what differs from the
// background, a border or shadow of the background's own colour is kept
// too: the alpha caption shares this crop, and there that border shows.
PixelBox InkBoxOf(const OpaqueLayers& layers) {
  const PixelBox& box = layers.Box();
  const int width = box.right - box.left;
  PixelBox ink;
  for (int y = box.top; y < box.bottom; ++y) {
    const LayerRows rows = layers.Rows(y);
    int first = 0;
    while (first < width && OpaqueLayers::Clear(rows, first)) ++first;
    if (first == width) continue;
    int last = width - 1;
    while (OpaqueLayers::Clear(rows, last)) --last;
    ink = Union(ink, {box.left + first, y, box.left + last + 1, y + 1});
  }
  return ink;
}

Palette PaletteOf(const CaptionStyle& style) {
  const CaptionEffect& e = style.effect;
  return {PixelWord(ColorToRGB(style.backgroundColor)),
          PixelWord(ColorToRGB(e.shadowColor)),
          PixelWord(ColorToRGB(e.outerOutlineColor)),
          PixelWord(ColorToRGB(e.outlineColor)),
          PixelWord(ColorToRGB(style.textColor)),
          true,
          e.gradient,
          PixelWord(ColorToRGB(e.gradientColor))};
}

// The layers of a working coverage, with the spans its fill runs over.
EffectLayers LayersOf(const WorkingCoverage& working, const CaptionEffect& effect) {
  EffectLayers layers = MakeEffectLayers(working.coverage, effect);
  layers.spans = working.spans;
  layers.verticalSpans = working.vertical;
  return layers;
}

// The same, the coverage let go once the layers hold the text.
EffectLayers LayersOf(WorkingCoverage&& working, const CaptionEffect& effect) {
  const WorkingCoverage taken = std::move(working);
  return LayersOf(taken, effect);
}

// The layers made, their colours, and the crop of the caption they make.
struct CroppedLayers {
  EffectLayers layers;
  Palette palette;
  std::vector<std::uint8_t> zeros;
  Crop crop;

  CroppedLayers(EffectLayers&& made, int width, int height, const CaptionStyle& style)
      : layers(std::move(made)),
        palette(PaletteOf(style)),
        zeros(std::size_t(std::max(0, layers.box.right - layers.box.left)), 0),
        crop(InkBoxOf(OpaqueLayers(layers, palette, zeros.data())), width, height,
             NoPixelEquals(style.backgroundColor)) {}

  template <typename Source>
  Source Painted(const Palette& colours) const {
    return Source(layers, colours, zeros.data());
  }
};

// Premultiplied colour and alpha, halved apart, as one 32-bit image of
// straight colour. Where nothing shows, the colour is that of the
// outermost layer, so that a scaler that mixes neighbours without alpha
// brings in no foreign fringe.
Bitmap Unpremultiplied(const Bitmap& colour, const Bitmap& alpha, std::uint32_t clear) {
  Bitmap out = Bitmap::Uninitialised(alpha.Width(), alpha.Height(), 32);
  for (int y = 0; y < out.Height(); ++y) {
    const std::uint8_t* c = colour.Row(y);
    const std::uint8_t* a = alpha.Row(y);
    std::uint8_t* row = out.Row(y);
    for (int x = 0; x < out.Width(); ++x, c += 3, a += 3, row += 4) {
      const unsigned opacity = a[0];
      for (int k = 0; k < 3; ++k)
        row[k] = opacity == 0 ? std::uint8_t(clear >> (8 * k))
                              : std::uint8_t(std::min(255u, (c[k] * 255u + opacity / 2) / opacity));
      row[3] = std::uint8_t(opacity);
    }
  }
  return out;
}

}  // namespace

Bitmap HalvedWithEffect(WorkingCoverage&& working, const CaptionStyle& style) {
  const int width = working.width, height = working.height;
  const CroppedLayers made(LayersOf(std::move(working), style.effect), width, height, style);
  return Halved(TrimmedRowProducer<OpaqueLayers>(made.Painted<OpaqueLayers>(made.palette),
                                                 made.crop, nullptr),
                style.backgroundColor);
}

Bitmap TrimmedWithEffect(const WorkingCoverage& working, const CaptionStyle& style) {
  const CroppedLayers made(LayersOf(working, style.effect), working.width, working.height, style);
  Bitmap out =
      Compose(TrimmedRows<OpaqueLayers>(made.Painted<OpaqueLayers>(made.palette), made.crop));
  out.SetBrushColor(style.backgroundColor);
  return out;
}

Bitmap AlphaWithEffect(WorkingCoverage&& working, const CaptionStyle& style) {
  const int width = working.width, height = working.height;
  const CroppedLayers made(LayersOf(std::move(working), style.effect), width, height, style);
  Palette colour = made.palette;
  colour.under = 0;
  // Opacity: every layer white over nothing, the colour glyphs by their alpha.
  Palette opacity{0, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
  opacity.glyphColours = false;
  using Producer = TrimmedRowProducer<PremultipliedLayers>;
  const Bitmap premultiplied =
      HalveRows(Producer(made.Painted<PremultipliedLayers>(colour), made.crop, nullptr));
  const Bitmap alpha =
      HalveRows(Producer(made.Painted<PremultipliedLayers>(opacity), made.crop, nullptr));
  const EffectLayers& l = made.layers;
  const std::uint32_t clear = !l.shadow.Empty()         ? colour.shadow
                              : !l.outerOutline.Empty() ? colour.outerOutline
                              : !l.outline.Empty()      ? colour.outline
                                                        : colour.text;
  Bitmap out = Unpremultiplied(premultiplied, alpha, clear);
  out.SetBrushColor(style.backgroundColor);
  return out;
}

}  // namespace glyphary
