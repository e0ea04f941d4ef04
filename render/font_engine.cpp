#include "render/font_engine.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "io/io.h"
#include "render/font_description.h"
#include "render/font_setup.h"
#include "render/uncut_layout.h"

namespace glyphary {
namespace {

// Em height for font height 0, the engine's own default.
constexpr double kDefaultEmPixels = 12;
// Size at which a face's cell height per em is measured.
constexpr double kReferenceEmPixels = 1024;

FontDescriptionPtr NewDescription(const LayoutKey& key, double emPixels) {
  FontDescriptionPtr desc(pango_font_description_new());
  pango_font_description_set_family(desc.get(), key.face.c_str());
  pango_font_description_set_weight(desc.get(), key.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(desc.get(),
                                   key.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  pango_font_description_set_absolute_size(desc.get(), emPixels * PANGO_SCALE);
  return desc;
}

PangoLanguage* Japanese() {
  return pango_language_from_string("ja");
}

// The font the engine takes first for a description: the one whose metrics
// the text's own face stands for.
GObjectPtr<PangoFont> FirstFont(PangoContext* context, const PangoFontDescription* desc,
                                PangoLanguage* language) {
  const GObjectPtr<PangoFontset> fonts(pango_context_load_fontset(context, desc, language));
  if (!fonts) return nullptr;
  PangoFont* first = nullptr;
  pango_fontset_foreach(
      fonts.get(),
      [](PangoFontset*, PangoFont* font, gpointer out) -> gboolean {
        *static_cast<PangoFont**>(out) = PANGO_FONT(g_object_ref(font));
        return TRUE;
      },
      &first);
  return GObjectPtr<PangoFont>(first);
}

int FloorPixels(int units) {
  return PANGO_PIXELS_FLOOR(units);
}
int CeilPixels(int units) {
  return PANGO_PIXELS_CEIL(units);
}

bool HasColourRuns(PangoLayout* layout) {
  for (GSList* line = pango_layout_get_lines_readonly(layout); line; line = line->next)
    for (GSList* r = static_cast<PangoLayoutLine*>(line->data)->runs; r; r = r->next)
      if (IsColourFont(static_cast<PangoLayoutRun*>(r->data)->item->analysis.font)) return true;
  return false;
}

PangoAlignment AlignmentOf(TextAlign align) {
  switch (align) {
    case TextAlign::Center:
      return PANGO_ALIGN_CENTER;
    case TextAlign::End:
      return PANGO_ALIGN_RIGHT;
    case TextAlign::Start:
      break;
  }
  return PANGO_ALIGN_LEFT;
}

GObjectPtr<PangoContext> NewContext(PangoFontMap* fontMap, int dpi, bool vertical) {
  GObjectPtr<PangoContext> context(pango_font_map_create_context(fontMap));
  const CairoFontOptionsPtr options(cairo_font_options_create());
  // Grey coverage only, and unhinted metrics so that sizes scale smoothly.
  cairo_font_options_set_antialias(options.get(), CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options.get(), CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options.get(), CAIRO_HINT_METRICS_OFF);
  pango_cairo_context_set_font_options(context.get(), options.get());
  pango_cairo_context_set_resolution(context.get(), dpi);
  pango_context_set_round_glyph_positions(context.get(), FALSE);
  // Fixed, so that the user's locale does not change glyph forms.
  pango_context_set_language(context.get(), pango_language_from_string("en"));
  if (vertical) {
    // Pango's own vertical setting: lines run along x with the glyphs turned
    // for east gravity, and the device turned a quarter clockwise shows them
    // upright. The fonts are made for that turn, as the drawing uses them.
    pango_context_set_base_gravity(context.get(), PANGO_GRAVITY_EAST);
    const PangoMatrix quarterTurn = {0, -1, 1, 0, 0, 0};
    pango_context_set_matrix(context.get(), &quarterTurn);
  }
  return context;
}

}  // namespace

std::string ResolvedFace(const std::string& faceName) {
  const std::string face = CutFaceName(faceName);
  return face.empty() || SameIgnoringAsciiCase(face, "default") ? kDefaultFaceName : face;
}

FontEngine::Impl::Impl(int dpi_, FontMap fontMap)
    : dpi(dpi_), ownFontMap(fontMap == FontMap::OwnForThisThread ? NewFontMap() : nullptr) {
  PangoFontMap* map = ownFontMap ? ownFontMap.get() : SharedFontSetup().fontMap;
  context = NewContext(map, dpi, false);
  verticalContext = NewContext(map, dpi, true);
}

PangoContext* FontEngine::Impl::ContextFor(const LayoutKey& key) const {
  return key.flow.vertical ? verticalContext.get() : context.get();
}

int FontEngine::Impl::LineHeightOf(const LayoutKey& key) {
  const GObjectPtr<PangoFont> font = FirstFontOf(key);
  if (!font) return 0;
  const FontMetricsPtr m(pango_font_get_metrics(font.get(), key.japanese ? Japanese() : nullptr));
  return pango_font_metrics_get_ascent(m.get()) + pango_font_metrics_get_descent(m.get());
}

double FontEngine::Impl::CellPerEm(const LayoutKey& key) {
  const FaceId id{key.face, key.bold, key.italic, key.japanese};
  if (auto it = cellPerEm_.find(id); it != cellPerEm_.end()) return it->second;
  const FontDescriptionPtr desc = NewDescription(key, kReferenceEmPixels);
  const GObjectPtr<PangoFont> font(pango_context_load_font(context.get(), desc.get()));
  double ratio = 1;
  if (font) {
    const FontMetricsPtr m(pango_font_get_metrics(font.get(), key.japanese ? Japanese() : nullptr));
    const int cell =
        pango_font_metrics_get_ascent(m.get()) + pango_font_metrics_get_descent(m.get());
    if (cell > 0) ratio = cell / (kReferenceEmPixels * PANGO_SCALE);
  }
  return cellPerEm_[id] = ratio;
}

GObjectPtr<PangoFont> FontEngine::Impl::FirstFontOf(const LayoutKey& key) {
  const FontDescriptionPtr desc = NewDescription(key, key.emPixels);
  PangoLanguage* language = key.japanese ? Japanese() : pango_context_get_language(context.get());
  return FirstFont(context.get(), desc.get(), language);
}

// The underline of the face that draws the text: the chosen face's own,
// unless every run of the text falls back to other faces (a face of emoji
// asked for Latin letters, say), then the first run's.
UnderlineMetrics FontEngine::Impl::UnderlineOf(const LayoutKey& key, PangoLayout* layout) {
  GObjectPtr<PangoFont> font = FirstFontOf(key);
  if (!font) return {};
  const FontDescriptionPtr chosen(pango_font_describe(font.get()));
  PangoFont* firstRun = nullptr;
  bool chosenDraws = false;
  for (GSList* r = pango_layout_get_line_readonly(layout, 0)->runs; r && !chosenDraws;
       r = r->next) {
    PangoFont* runFont = static_cast<PangoLayoutRun*>(r->data)->item->analysis.font;
    if (!runFont) continue;
    if (!firstRun) firstRun = runFont;
    const FontDescriptionPtr drawn(pango_font_describe(runFont));
    chosenDraws = g_strcmp0(pango_font_description_get_family(drawn.get()),
                            pango_font_description_get_family(chosen.get())) == 0;
  }
  if (firstRun && !chosenDraws) font.reset(PANGO_FONT(g_object_ref(firstRun)));
  PangoLanguage* language = key.japanese ? Japanese() : pango_context_get_language(context.get());
  const FontMetricsPtr m(pango_font_get_metrics(font.get(), language));
  return {pango_font_metrics_get_underline_position(m.get()),
          pango_font_metrics_get_underline_thickness(m.get())};
}

WinCell FontEngine::Impl::WinCellFor(const LayoutKey& key) {
  const FaceId id{key.face, key.bold, key.italic, key.japanese};
  if (auto it = winCells_.find(id); it != winCells_.end()) return it->second;
  LayoutKey reference = key;
  reference.emPixels = kReferenceEmPixels;
  const GObjectPtr<PangoFont> font = FirstFontOf(reference);
  WinCell cell = font ? WinCellOf(font.get()) : WinCell{};
  if (cell.Empty() && font) {
    // Not a FreeType font: the engine's own line metrics.
    const FontMetricsPtr m(pango_font_get_metrics(font.get(), nullptr));
    const double em = kReferenceEmPixels * PANGO_SCALE;
    cell = {pango_font_metrics_get_ascent(m.get()) / em,
            pango_font_metrics_get_descent(m.get()) / em};
  }
  return winCells_[id] = cell;
}

int FontEngine::Impl::CellHeight(const LayoutKey& key) {
  const WinCell cell = WinCellFor(key);
  return int(std::lround(cell.ascent * key.emPixels) + std::lround(cell.descent * key.emPixels));
}

LayoutKey FontEngine::Impl::KeyFor(const FontDescription& font) {
  LayoutKey key{ResolvedFace(font.faceName),
                0,
                font.bold,
                font.italic,
                font.underline,
                font.shiftJis,
                font.flow};
  if (font.height < 0)
    key.emPixels = -double(font.height);
  else if (font.height == 0)
    key.emPixels = kDefaultEmPixels;
  else
    key.emPixels = font.height / CellPerEm(key);
  return key;
}

void FontEngine::Impl::Configure(CachedLayout& slot, const LayoutKey& key,
                                 const std::string& text) {
  const bool fresh = !slot.layout || slot.key.flow.vertical != key.flow.vertical;
  if (fresh) slot.layout.reset(pango_layout_new(ContextFor(key)));
  if (fresh || !(slot.key == key)) {
    pango_layout_set_font_description(slot.layout.get(), NewDescription(key, key.emPixels).get());
    const AttrListPtr attrs(pango_attr_list_new());
    if (key.japanese) pango_attr_list_insert(attrs.get(), pango_attr_language_new(Japanese()));
    if (key.flow.letterSpacing != 0)
      pango_attr_list_insert(
          attrs.get(),
          pango_attr_letter_spacing_new(int(std::lround(key.flow.letterSpacing * PANGO_SCALE))));
    pango_layout_set_attributes(slot.layout.get(), attrs.get());
    pango_layout_set_alignment(slot.layout.get(), AlignmentOf(key.flow.align));
    const int extra =
        key.flow.lineSpacing == 100
            ? 0
            : int(std::lround((key.flow.lineSpacing - 100) / 100.0 * LineHeightOf(key)));
    pango_layout_set_spacing(slot.layout.get(), extra);
    slot.key = key;
  }
  // Pango wants valid UTF-8; a broken byte becomes U+FFFD as it would be shown.
  const std::string valid = WithLineFeeds(ToValidUtf8(text));
  // One line unless the text breaks it: other separators are shown, not obeyed.
  pango_layout_set_single_paragraph_mode(slot.layout.get(), valid.find('\n') == std::string::npos);
  pango_layout_set_text(slot.layout.get(), valid.data(), int(valid.size()));
  // The underline is drawn by DrawBlackText: Pango leaves out leading and
  // trailing spaces.
  if (key.underline) slot.underline = UnderlineOf(key, slot.layout.get());
  slot.placement = PlacementOf(slot.layout.get(), key.flow.vertical);
  slot.colour = HasColourRuns(slot.layout.get());
  slot.text = text;
}

FontEngine::Impl::LaidText FontEngine::Impl::Layout(const FontDescription& font,
                                                    const std::string& text) {
  const LayoutKey key = KeyFor(font);
  CachedLayout* slot = nullptr;
  for (CachedLayout& s : layouts_)
    if (s.layout && s.key == key && s.text == text) slot = &s;
  if (!slot) {
    slot = &*std::min_element(
        layouts_.begin(), layouts_.end(),
        [](const CachedLayout& a, const CachedLayout& b) { return a.lastUse < b.lastUse; });
    Configure(*slot, key, text);
  }
  slot->lastUse = ++clock_;
  return {slot->layout.get(), key.underline ? &slot->underline : nullptr, &slot->key,
          &slot->placement, slot->colour};
}

FontEngine::FontEngine(int dpi, FontMap fontMap) {
  if (dpi <= 0) throw Error("解像度が正しくありません (" + std::to_string(dpi) + " dpi)");
  impl_ = std::make_unique<Impl>(dpi, fontMap);
}

FontEngine::~FontEngine() = default;

int FontEngine::Dpi() const noexcept {
  return impl_->dpi;
}

std::int32_t FontEngine::HeightFromPoints(std::int32_t points) const {
  return -MulDiv(points, impl_->dpi, 72);
}

std::int32_t FontEngine::PointsFromHeight(std::int32_t height) const {
  return -MulDiv(height, 72, impl_->dpi);
}

TextExtent FontEngine::Extent(const FontDescription& font, const std::string& text) {
  const Impl::LaidText laid = impl_->Layout(font, text);
  PangoRectangle logical;
  pango_layout_get_pixel_extents(laid.layout, nullptr, &logical);
  TextExtent extent{logical.width, impl_->CellHeight(*laid.key)};
  if (pango_layout_get_line_count(laid.layout) > 1) {
    const LayoutIterPtr iter(pango_layout_get_iter(laid.layout));
    PangoRectangle first, last;
    pango_layout_iter_get_line_extents(iter.get(), nullptr, &first);
    while (pango_layout_iter_next_line(iter.get()))
      pango_layout_iter_get_line_extents(iter.get(), nullptr, &last);
    extent.stack = PANGO_PIXELS(last.y) - PANGO_PIXELS(first.y);
  }
  return extent;
}

PixelBox FontEngine::InkBox(const FontDescription& font, const std::string& text) {
  const Impl::LaidText laid = impl_->Layout(font, text);
  PangoRectangle ink;
  pango_layout_get_extents(laid.layout, &ink, nullptr);
  PixelBox box;
  if (ink.width > 0 && ink.height > 0)
    box = {FloorPixels(ink.x), FloorPixels(ink.y), CeilPixels(ink.x + ink.width),
           CeilPixels(ink.y + ink.height)};
  if (laid.underline)
    for (const PixelBox& bar :
         UnderlineBars(laid.layout, *laid.underline, laid.key->flow.vertical, laid.key->emPixels))
      box = Union(box, bar);
  if (box.Empty()) return {};
  box = laid.placement->ToDevice(box);
  // The rasteriser's smoothing reaches a pixel past the outline Pango
  // measures; emboldening thickens a glyph by about a 24th of an em, and a
  // slant Pango may not measure moves its top and foot by a few more.
  const double em = laid.key->emPixels;
  const int margin =
      2 + int(std::ceil(em / 32 + (font.bold ? em / 24 : 0) + (font.italic ? em / 32 : 0)));
  return {box.left - margin, box.top - margin, box.right + margin, box.bottom + margin};
}

void FontEngine::DrawBlackText(const FontDescription& font, const std::string& text,
                               std::uint8_t* pixels, int width, int height, int stride, int originX,
                               int originY) {
  impl_->Draw(font, text, {pixels, width, height, stride, originX, originY}, GlyphPass::Plain);
}

bool FontEngine::HasColorGlyphs(const FontDescription& font, const std::string& text) {
  return impl_->Layout(font, text).colour;
}

PixelBox FontEngine::ColorInkBox(const FontDescription& font, const std::string& text) {
  const Impl::LaidText laid = impl_->Layout(font, text);
  if (!laid.colour) return {};
  PixelBox box;
  const LayoutIterPtr iter(pango_layout_get_iter(laid.layout));
  do {
    const PangoLayoutRun* run = pango_layout_iter_get_run_readonly(iter.get());
    if (!run || !IsColourFont(run->item->analysis.font)) continue;
    PangoRectangle ink;
    pango_layout_iter_get_run_extents(iter.get(), &ink, nullptr);
    if (ink.width > 0 && ink.height > 0)
      box = Union(box, {FloorPixels(ink.x), FloorPixels(ink.y), CeilPixels(ink.x + ink.width),
                        CeilPixels(ink.y + ink.height)});
  } while (pango_layout_iter_next_run(iter.get()));
  if (box.Empty()) return {};
  box = laid.placement->ToDevice(box);
  // A pixel for the scaled bitmap's smoothing.
  return {box.left - 1, box.top - 1, box.right + 1, box.bottom + 1};
}

std::vector<PixelBox> FontEngine::InkSpans(const FontDescription& font, const std::string& text) {
  const Impl::LaidText laid = impl_->Layout(font, text);
  const bool vertical = laid.key->flow.vertical;
  const auto pixels = [](const PangoRectangle& r) {
    return PixelBox{FloorPixels(r.x), FloorPixels(r.y), CeilPixels(r.x + r.width),
                    CeilPixels(r.y + r.height)};
  };
  std::vector<PixelBox> spans;
  const LayoutIterPtr iter(pango_layout_get_iter(laid.layout));
  // A line's ink across its advance; a vertical character's along its
  // column, across the column's whole line.
  do {
    PangoRectangle ink, line;
    pango_layout_iter_get_line_extents(iter.get(), vertical ? nullptr : &ink, &line);
    if (vertical) pango_layout_iter_get_cluster_extents(iter.get(), &ink, nullptr);
    if (ink.width <= 0 || ink.height <= 0) continue;
    const PixelBox along = pixels(ink), across = pixels(line);
    spans.push_back(laid.placement->ToDevice(
        vertical ? PixelBox{along.left, across.top, along.right, across.bottom}
                 : PixelBox{across.left, along.top, across.right, along.bottom}));
  } while (vertical ? pango_layout_iter_next_cluster(iter.get())
                    : pango_layout_iter_next_line(iter.get()));
  return spans;
}

void FontEngine::DrawColorGlyphs(const FontDescription& font, const std::string& text,
                                 std::uint8_t* pixels, int width, int height, int stride,
                                 int originX, int originY) {
  impl_->Draw(font, text, {pixels, width, height, stride, originX, originY}, GlyphPass::Colour);
}

void FontEngine::Impl::Draw(const FontDescription& font, const std::string& text,
                            const DrawTarget& target, GlyphPass pass) {
  const LaidText laid = Layout(font, text);
  const CairoSurfacePtr surface(cairo_image_surface_create_for_data(
      target.pixels, pass == GlyphPass::Colour ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24,
      target.width, target.height, target.stride));
  const CairoPtr cr(cairo_create(surface.get()));
  cairo_set_source_rgb(cr.get(), 0, 0, 0);
  cairo_translate(cr.get(), -target.originX, -target.originY);
  cairo_save(cr.get());
  const cairo_matrix_t placed = laid.placement->Matrix();
  cairo_transform(cr.get(), &placed);
  cairo_move_to(cr.get(), 0, 0);
  ShowLayoutUncut(cr.get(), laid.layout, target.width, target.height, pass);
  cairo_restore(cr.get());
  if (laid.underline && pass != GlyphPass::Colour) DrawUnderline(cr.get(), laid, target);
  const cairo_status_t status = cairo_status(cr.get());
  if (status != CAIRO_STATUS_SUCCESS)
    throw Error(std::string("文字を描画できません: ") + cairo_status_to_string(status));
}

void FontEngine::Impl::DrawUnderline(cairo_t* cr, const LaidText& laid, const DrawTarget& target) {
  // Whole pixels, cut to the image and a pixel round it.
  const PixelBox image{target.originX - 1, target.originY - 1, target.originX + target.width + 1,
                       target.originY + target.height + 1};
  for (const PixelBox& bar :
       UnderlineBars(laid.layout, *laid.underline, laid.key->flow.vertical, laid.key->emPixels)) {
    const PixelBox d = laid.placement->ToDevice(bar);
    const PixelBox cut{std::max(d.left, image.left), d.top, std::min(d.right, image.right),
                       d.bottom};
    if (cut.Empty()) continue;
    cairo_rectangle(cr, cut.left, cut.top, cut.right - cut.left, cut.bottom - cut.top);
    cairo_fill(cr);
  }
}

int FontEngine::UnknownGlyphs(const FontDescription& font, const std::string& text) {
  return pango_layout_get_unknown_glyphs_count(impl_->Layout(font, text).layout);
}

std::span<std::uint8_t> FontEngine::Scratch(std::size_t bytes) {
  if (impl_->scratchBytes < bytes) {
    impl_->scratch.reset();
    impl_->scratch.reset(new std::uint8_t[bytes]);
    impl_->scratchBytes = bytes;
  }
  return {impl_->scratch.get(), bytes};
}

}  // namespace glyphary
