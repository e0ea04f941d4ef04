// Colour emoji keep their own colours: against Cairo's own drawing of them,
// whatever the text colour, with real alpha, inside a border; the sequences
// a font shapes into one picture are one, and text-style symbols stay in
// the text colour. Skipped where no colour emoji font is installed.
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "alpha_over.h"
#include "pango_oracle.h"
#include "render/caption.h"
#include "render/handles.h"
#include "render/render.h"
#include "same_pixels.h"

namespace glyphary {
namespace {

constexpr char kEmojiFace[] = "Noto Color Emoji";

bool EmojiFontInstalled() {
  const FcPatternPtr pattern(FcNameParse(reinterpret_cast<const FcChar8*>(kEmojiFace)));
  const FcObjectSetPtr objects(FcObjectSetBuild(FC_FAMILY, nullptr));
  const FcFontSetPtr fonts(FcFontList(nullptr, pattern.get(), objects.get()));
  return fonts && fonts->nfont > 0;
}

class ColourGlyphs : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!EmojiFontInstalled()) GTEST_SKIP() << kEmojiFace << " is not installed";
  }

  static CaptionStyle Style(TColor text = kColorBlack, TColor background = kColorWhite) {
    CaptionStyle s;
    s.faceName = "IPAPGothic";
    s.pointSize = 30;
    s.textColor = text;
    s.backgroundColor = background;
    return s;
  }

  Bitmap Caption(const std::string& text, const CaptionStyle& style) {
    Bitmap b;
    RenderCaption(b, text, style, engine_);
    return b;
  }

  FontEngine engine_;
};

// A pixel well off the colours that black or red text blends to over
// white: greys (v, v, v) or (255, v, v).
bool OffTextBlends(TColor c, TColor text) {
  const int r = RedOf(c), g = GreenOf(c), b = BlueOf(c);
  if (text == kColorBlack) return std::max({r, g, b}) - std::min({r, g, b}) > 40;
  return 255 - r > 40 || std::abs(g - b) > 40;
}

int Hue(TColor c) {
  return std::max({RedOf(c), GreenOf(c), BlueOf(c)}) - std::min({RedOf(c), GreenOf(c), BlueOf(c)});
}

bool HasColourBesides(const Bitmap& b, TColor text) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (OffTextBlends(b.PixelAt(x, y), text)) return true;
  return false;
}

// Cairo on its own draws the emoji in premultiplied colour with room all
// round, and its 2 × 2 blocks are paired as the working image pairs them:
// the colour layer of the working coverage is the same within rounding.
TEST_F(ColourGlyphs, AreCairosOwnColoursReducedAsTheTextIs) {
  const std::string text = "🎉👍🏽";
  const CaptionStyle style = Style();
  const WorkingCoverage working = DrawWorkingCoverage(text, style, engine_);
  const Coverage& c = working.coverage;
  ASSERT_TRUE(c.HasColour());

  const FontDescription scratch = ScratchFont(WorkingFont(style, engine_), true, engine_);
  const GObjectPtr<PangoContext> context = OracleContext();
  const GObjectPtr<PangoLayout> layout(pango_layout_new(context.get()));
  const FontDescriptionPtr desc(pango_font_description_from_string(kEmojiFace));
  pango_font_description_set_absolute_size(desc.get(), -scratch.height * PANGO_SCALE);
  pango_layout_set_font_description(layout.get(), desc.get());
  pango_layout_set_text(layout.get(), text.c_str(), -1);
  // Room of an even size, so that scratch pixel (x, y) of the cell is (x + room, y + room).
  const int room = 400;
  const int w = 2 * c.Right() + 2 * room, h = 2 * c.Bottom() + 2 * room;
  const CairoSurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h));
  {
    const CairoPtr cr(cairo_create(surface.get()));
    cairo_move_to(cr.get(), room, room);
    pango_cairo_show_layout(cr.get(), layout.get());
  }
  cairo_surface_flush(surface.get());
  const unsigned char* data = cairo_image_surface_get_data(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  int worst = 0;
  double total = 0, alphaSum = 0;
  const ColourPatch& patch = c.colour;
  for (int r = 0; r < patch.height; ++r)
    for (int k = 0; k < patch.width; ++k) {
      const int x = 2 * (patch.left + k) + room, y = 2 * (patch.top + r) + 1 + room;
      const std::uint8_t* ours = patch.Row(r) + 4 * k;
      for (int ch = 0; ch < 4; ++ch) {
        const int drawn =
            (data[y * stride + 4 * x + ch] + data[y * stride + 4 * x + 4 + ch] +
             data[(y + 1) * stride + 4 * x + ch] + data[(y + 1) * stride + 4 * x + 4 + ch] + 2) /
            4;
        worst = std::max(worst, std::abs(drawn - int(ours[ch])));
        total += std::abs(drawn - int(ours[ch]));
      }
      alphaSum += ours[3];
    }
  EXPECT_GT(alphaSum, 255.0 * 100);  // two pictures' worth of pixels
  EXPECT_LE(worst, 24);
  EXPECT_LT(total / (4.0 * patch.width * patch.height), 1.0);
}

TEST_F(ColourGlyphs, KeepTheirColoursWhateverTheTextColour) {
  const Bitmap black = Caption("🎉", Style(kColorBlack));
  EXPECT_TRUE(HasColourBesides(black, kColorBlack));
  EXPECT_TRUE(SameBytes(Caption("🎉", Style(Rgb(255, 0, 0))), black));
}

TEST_F(ColourGlyphs, LaidOverAnyBackgroundAsTheOpaqueCaptionIs) {
  for (const TColor background : {kColorWhite, Rgb(0, 0, 128)}) {
    const CaptionStyle style = Style(Rgb(255, 0, 0), background);
    const Bitmap opaque = Caption("字🎉👍🏽", style);
    Bitmap alpha;
    RenderAlphaCaption(alpha, "字🎉👍🏽", style, engine_);
    ASSERT_EQ(alpha.Width(), opaque.Width());
    ASSERT_EQ(alpha.Height(), opaque.Height());
    int worst = 0;
    for (int y = 0; y < opaque.Height(); ++y)
      for (int x = 0; x < opaque.Width(); ++x) {
        const TColor laid = Over(alpha, x, y, background), shown = opaque.PixelAt(x, y);
        for (const auto channel : {RedOf, GreenOf, BlueOf})
          worst = std::max(worst, std::abs(int(channel(laid)) - int(channel(shown))));
      }
    EXPECT_LE(worst, 3) << std::hex << background;
  }
}

TEST_F(ColourGlyphs, AreSurroundedByTheBorderAsAnyInk) {
  CaptionStyle style = Style(kColorBlack, kColorWhite);
  const Bitmap plain = Caption("🎉", style);
  style.effect.outlineWidth = 4;
  style.effect.outlineColor = Rgb(0, 255, 0);
  const Bitmap bordered = Caption("🎉", style);
  // Four pixels each side from the picture's edge, whose faintest
  // smoothing the plain caption keeps too.
  EXPECT_NEAR(bordered.Width() - plain.Width(), 7, 1);
  EXPECT_NEAR(bordered.Height() - plain.Height(), 7, 1);
  // Pure border green left of the picture, halfway down.
  const int y = bordered.Height() / 2;
  int x = 0;
  while (x < bordered.Width() && bordered.PixelAt(x, y) == kColorWhite) ++x;
  EXPECT_EQ(bordered.PixelAt(x + 2, y), Rgb(0, 255, 0));
}

TEST_F(ColourGlyphs, SequencesAreOnePictureAndTextSymbolsKeepTheTextColour) {
  const TColor red = Rgb(255, 0, 0);
  const int one = Caption("👍", Style(red)).Width();
  for (const char* sequence : {"👍🏽", "👨‍👩‍👧", "🇯🇵", "1️⃣", "☺️"}) {
    const Bitmap b = Caption(sequence, Style(red));
    EXPECT_TRUE(HasColourBesides(b, red)) << sequence;
    EXPECT_NEAR(b.Width(), one, one / 4) << sequence;
  }
  for (const char* symbol : {"©", "☺", "★"})
    EXPECT_FALSE(HasColourBesides(Caption(symbol, Style(red)), red)) << symbol;
}

TEST_F(ColourGlyphs, StandUprightInVerticalText) {
  CaptionStyle style = Style();
  const Bitmap across = Caption("👍", style);
  style.layout.vertical = true;
  const Bitmap down = Caption("👍", style);
  // The same picture, not turned: the thumb's pixels in the same places,
  // give or take the pixel a column's centred baseline moves it.
  ASSERT_NEAR(across.Width(), down.Width(), 1);
  ASSERT_NEAR(across.Height(), down.Height(), 1);
  const int w = std::min(across.Width(), down.Width()),
            h = std::min(across.Height(), down.Height());
  int least = w * h;
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy) {
      int differing = 0;
      for (int y = 1; y + 1 < h; ++y)
        for (int x = 1; x + 1 < w; ++x)
          differing += Hue(across.PixelAt(x, y)) / 64 != Hue(down.PixelAt(x + dx, y + dy)) / 64;
      least = std::min(least, differing);
    }
  EXPECT_LT(least, w * h / 10);
}

}  // namespace
}  // namespace glyphary
