// No caption loses ink: for every installed face, texts that reach above,
// below, left and right of their cell come out as whole as the same text
// drawn by Pango on its own with room all around.
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "pango_oracle.h"
#include "render/caption.h"
#include "render/handles.h"
#include "render/render.h"

namespace glyphary {
namespace {

// The first family name of every font fontconfig knows, as a user's font
// list shows them.
std::vector<std::string> InstalledFamilies() {
  const FcPatternPtr all(FcPatternCreate());
  const FcObjectSetPtr objects(FcObjectSetBuild(FC_FAMILY, nullptr));
  const FcFontSetPtr fonts(FcFontList(nullptr, all.get(), objects.get()));
  std::set<std::string> families;
  FcChar8* family = nullptr;
  for (int i = 0; fonts && i < fonts->nfont; ++i)
    if (FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch)
      families.insert(reinterpret_cast<const char*>(family));
  return {families.begin(), families.end()};
}

// a × b / c rounded half away from zero, for positive values.
int RoundedMulDiv(int a, int b, int c) {
  return (2 * a * b + c) / (2 * c);
}

// The em in pixels of the text as the caption is drawn at four times its
// size, at 96 dpi: twice the point size made a pixel height, read back in
// points and doubled.
int DrawnEmPixels(int points) {
  const int working = RoundedMulDiv(2 * points, 96, 72);
  return RoundedMulDiv(2 * RoundedMulDiv(working, 72, 96), 96, 72);
}

struct Ink {
  int left = 0, top = 0, right = -1, bottom = -1;  // inclusive; right < left: no ink
  double mass = 0;                                 // the sum of darkness, 255 a full pixel
  int Width() const { return right - left + 1; }
  int Height() const { return bottom - top + 1; }
  bool Empty() const { return right < left; }
};

void AddInk(Ink& ink, int x, int y, int darkness) {
  if (darkness == 0) return;
  if (ink.Empty()) ink = {x, y, x, y, 0};
  ink.left = std::min(ink.left, x);
  ink.right = std::max(ink.right, x);
  ink.top = std::min(ink.top, y);
  ink.bottom = std::max(ink.bottom, y);
  ink.mass += darkness;
}

struct Case {
  std::string face, text;
  int points = 0;
  bool bold = false, italic = false, underline = false;
  CaptionLayout layout{};
};

PangoAlignment PangoAlignmentOf(TextAlign align) {
  return align == TextAlign::Center ? PANGO_ALIGN_CENTER
         : align == TextAlign::End  ? PANGO_ALIGN_RIGHT
                                    : PANGO_ALIGN_LEFT;
}

// Several lines, spaced by a share of the face's natural line distance, and
// letters spaced in the drawing's pixels, four for each of the caption's.
void SetLayout(PangoLayout* layout, PangoContext* context, const PangoFontDescription* desc,
               const CaptionLayout& set, PangoAttrList* attrs) {
  pango_layout_set_alignment(layout, PangoAlignmentOf(set.align));
  const FontMetricsPtr m(pango_context_get_metrics(context, desc, nullptr));
  const double natural =
      pango_font_metrics_get_ascent(m.get()) + pango_font_metrics_get_descent(m.get());
  pango_layout_set_spacing(layout, int((set.lineSpacing - 100) / 100.0 * natural));
  if (set.letterSpacing != 0)
    pango_attr_list_insert(attrs,
                           pango_attr_letter_spacing_new(4 * set.letterSpacing * PANGO_SCALE));
}

// Pango on its own: the text in black at the caption's drawing size, with
// two em of room on every side, in grey smoothing without hinting.
Ink PangoInk(const Case& c) {
  const int em = DrawnEmPixels(c.points);
  const GObjectPtr<PangoContext> context = OracleContext();
  pango_context_set_language(
      context.get(), pango_language_from_string(FontEngine::IsShiftJisFont(c.face) ? "ja" : "en"));
  // Vertical text as pango-view sets it: east gravity on a page turned a
  // quarter clockwise.
  if (c.layout.vertical) pango_context_set_base_gravity(context.get(), PANGO_GRAVITY_EAST);
  const GObjectPtr<PangoLayout> layout(pango_layout_new(context.get()));
  const FontDescriptionPtr desc(pango_font_description_new());
  pango_font_description_set_family(desc.get(), c.face.c_str());
  pango_font_description_set_weight(desc.get(), c.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(desc.get(), c.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  pango_font_description_set_absolute_size(desc.get(), em * PANGO_SCALE);
  pango_layout_set_font_description(layout.get(), desc.get());
  const AttrListPtr attrs(pango_attr_list_new());
  if (c.underline)
    pango_attr_list_insert(attrs.get(), pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
  SetLayout(layout.get(), context.get(), desc.get(), c.layout, attrs.get());
  pango_layout_set_attributes(layout.get(), attrs.get());
  pango_layout_set_text(layout.get(), c.text.c_str(), -1);
  PangoRectangle logical;
  pango_layout_get_pixel_extents(layout.get(), nullptr, &logical);
  const int room = 2 * em + 8;
  const int across = logical.height + 2 * room, along = logical.width + 2 * room;
  const int w = c.layout.vertical ? across : along, h = c.layout.vertical ? along : across;
  const CairoSurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_A8, w, h));
  {
    const CairoPtr cr(cairo_create(surface.get()));
    if (c.layout.vertical) {
      cairo_translate(cr.get(), room + logical.height, room);
      cairo_rotate(cr.get(), G_PI / 2);
      pango_cairo_update_context(cr.get(), context.get());
      pango_layout_context_changed(layout.get());
      cairo_move_to(cr.get(), 0, 0);
    } else {
      cairo_move_to(cr.get(), room, room);
    }
    pango_cairo_show_layout(cr.get(), layout.get());
  }
  cairo_surface_flush(surface.get());
  Ink ink;
  const unsigned char* data = cairo_image_surface_get_data(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) AddInk(ink, x, y, data[y * stride + x]);
  return ink;
}

CaptionStyle StyleOf(const Case& c) {
  CaptionStyle style;
  style.faceName = c.face;
  style.pointSize = c.points;
  style.bold = c.bold;
  style.italic = c.italic;
  style.underline = c.underline;
  style.layout = c.layout;
  return style;
}

Ink InkOf(const Bitmap& image) {
  Ink ink;
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) AddInk(ink, x, y, 255 - BlueOf(image.PixelAt(x, y)));
  return ink;
}

// Texts whose ink leaves the cell: descenders, accents above capitals,
// stacked Vietnamese marks, Thai marks above and below, Japanese, and an
// italic j and f that reach past either end of the advance.
const char* const kTexts[] = {"gyjpq Hello", "ÉÅÊ Égypte",   "Ấ Ỹ ǺỢ ộ",
                              "ที่ปู่ญู ฎุ้",       "日本語の字幕", "jaf"};

// Within the smoothing's fringe: each 2 × 2 block of the drawing is one
// working pixel, each 2 × 2 working pixels one caption pixel, so the boxes
// differ by under two pixels and the ink's sum by a few per cent at most.
void ExpectSameInk(const Ink& got, const Ink& drawn, double scale, double massSlack) {
  EXPECT_GE(got.Width() - drawn.Width() / scale, -0.5);
  EXPECT_LE(got.Width() - drawn.Width() / scale, 2);
  EXPECT_GE(got.Height() - drawn.Height() / scale, -0.5);
  EXPECT_LE(got.Height() - drawn.Height() / scale, 2);
  EXPECT_NEAR(got.mass / (drawn.mass / (scale * scale)), 1, massSlack);
}

int DarkestInRow(const Bitmap& image, int y) {
  int darkest = 0;
  for (int x = 0; x < image.Width(); ++x)
    darkest = std::max(darkest, 255 - BlueOf(image.PixelAt(x, y)));
  return darkest;
}

// Renders a case and holds its ink against Pango's drawing of it.
void ExpectInkOfPango(const Case& c, FontEngine& engine) {
  Bitmap working, caption;
  RenderWorkingCaption(working, c.text, StyleOf(c), engine);
  RenderCaption(caption, c.text, StyleOf(c), engine);
  const Ink drawn = PangoInk(c), half = InkOf(working), quarter = InkOf(caption);
  ASSERT_FALSE(drawn.Empty() || half.Empty() || quarter.Empty());
  ExpectSameInk(half, drawn, 2, 0.07);
  ExpectSameInk(quarter, drawn, 4, 0.1);
  // The trim's two clear rows above the ink; halved, an odd height
  // lets a faint share of the first ink row into the caption's first.
  EXPECT_EQ(half.top, 2);
  EXPECT_LE(DarkestInRow(caption, 0), working.Height() % 2 == 0 ? 0 : 16);
}

TEST(CaptionInk, EveryInstalledFaceKeepsAllItsInkAtEverySize) {
  FontEngine engine;
  const std::vector<std::string> faces = InstalledFamilies();
  ASSERT_FALSE(faces.empty());
  int n = 0;
  for (const std::string& face : faces)
    for (const std::string text : kTexts)
      for (int points : {8, 25, 60, 150}) {
        Case c{face, text, points};
        // Every style in turn; the italic text always italic.
        const int variant = n++ % 4;
        c.bold = variant == 1 || variant == 3;
        c.italic = variant >= 2 || text == "jaf";
        // Underlined too where the face draws none of the text.
        c.underline = variant == 0 && (text == "gyjpq Hello" || text == "日本語の字幕");
        SCOPED_TRACE(face + " " + std::to_string(points) + " pt \"" + text + "\"" +
                     (c.bold ? " bold" : "") + (c.italic ? " italic" : "") +
                     (c.underline ? " underline" : ""));
        ExpectInkOfPango(c, engine);
      }
}

// Vertical text, several lines, alignment and spacing, in Japanese and
// Latin faces: set by Pango on its own, the same ink. (A vertical underline
// runs on the other side of the column than Pango's; it has its own test.)
TEST(CaptionInk, EveryLayoutKeepsAllItsInk) {
  constexpr auto kStart = TextAlign::Start, kCenter = TextAlign::Center, kEnd = TextAlign::End;
  const Case kCases[] = {
      {"IPAPGothic",
       "縦書きのテロップ、「テスト」です。ーー ABC １２３",
       25,
       false,
       false,
       false,
       {true, kStart, 100, 0}},
      {"IPAMincho", "縦書き\n二列目です、gyj", 40, true, false, false, {true, kCenter, 100, 0}},
      {"IPAGothic", "一\n二列目\n\n四", 18, false, false, false, {true, kEnd, 200, 10}},
      {"DejaVu Sans", "Vertical gyj ÉÅ", 30, false, true, false, {true, kStart, 100, 0}},
      {"DejaVu Serif", "gyjpq\nÉgypte Hello\nfj", 25, false, true, true, {false, kEnd, 150, 0}},
      {"IPAPGothic", "二行の字幕\nセンター gyj", 60, false, false, true, {false, kCenter, 80, 5}},
      {"IPAPMincho", "字間 gyj", 8, false, false, false, {false, kStart, 100, -3}},
      {"Loma", "ที่ปู่\nญู ฎุ้", 30, false, false, false, {false, kCenter, 300, 2}},
  };
  FontEngine engine;
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.face + " \"" + c.text + "\"");
    ExpectInkOfPango(c, engine);
  }
}

}  // namespace
}  // namespace glyphary
