#include "render/font_engine.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "render/font_setup.h"
#include "render/uncut_layout.h"

namespace glyphary {
namespace {

// Em height for font height 0, the engine's own default.
constexpr double kDefaultEmPixels = 12;
// Size at which a face's cell height per em is measured.
constexpr double kReferenceEmPixels = 1024;

bool IsDefaultName(const std::string& name) {
  static const std::string kDefault = "default";
  return name.size() == kDefault.size() &&
         std::equal(name.begin(), name.end(), kDefault.begin(),
                    [](char a, char b) { return (a >= 'A' && a <= 'Z' ? a - 'A' + 'a' : a) == b; });
}

PangoFontDescription* NewDescription(const LayoutKey& key, double emPixels) {
  PangoFontDescription* desc = pango_font_description_new();
  pango_font_description_set_family(desc, key.face.c_str());
  pango_font_description_set_weight(desc, key.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(desc, key.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  pango_font_description_set_absolute_size(desc, emPixels * PANGO_SCALE);
  return desc;
}

PangoLanguage* Japanese() {
  return pango_language_from_string("ja");
}

// Pango wants valid UTF-8; a broken byte becomes U+FFFD as it would be shown.
std::string ValidUtf8(const std::string& text) {
  if (g_utf8_validate(text.data(), gssize(text.size()), nullptr)) return text;
  gchar* valid = g_utf8_make_valid(text.data(), gssize(text.size()));
  std::string out = valid;
  g_free(valid);
  return out;
}

// The font the engine takes first for a description: the one whose metrics
// the text's own face stands for.
PangoFont* FirstFont(PangoContext* context, const PangoFontDescription* desc,
                     PangoLanguage* language) {
  PangoFontset* fonts = pango_context_load_fontset(context, desc, language);
  if (!fonts) return nullptr;
  PangoFont* first = nullptr;
  pango_fontset_foreach(
      fonts,
      [](PangoFontset*, PangoFont* font, gpointer out) -> gboolean {
        *static_cast<PangoFont**>(out) = PANGO_FONT(g_object_ref(font));
        return TRUE;
      },
      &first);
  g_object_unref(fonts);
  return first;
}

}  // namespace

UnderlineRows RowsOfUnderline(PangoLayout* layout, const UnderlineMetrics& metrics) {
  const int top = PANGO_PIXELS(pango_layout_get_baseline(layout) - metrics.position);
  // At least one row, so that an underline never vanishes at small sizes.
  return {top, top + std::max(1, PANGO_PIXELS(metrics.thickness))};
}

std::string ResolvedFace(const std::string& faceName) {
  const std::string face = CutFaceName(faceName);
  return face.empty() || IsDefaultName(face) ? kDefaultFaceName : face;
}

FontEngine::Impl::Impl(int dpi_) : dpi(dpi_) {
  context = pango_font_map_create_context(SharedFontSetup().fontMap);
  cairo_font_options_t* options = cairo_font_options_create();
  // Grey coverage only, and unhinted metrics so that sizes scale smoothly.
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  pango_cairo_context_set_font_options(context, options);
  cairo_font_options_destroy(options);
  pango_cairo_context_set_resolution(context, dpi);
  pango_context_set_round_glyph_positions(context, FALSE);
  // Fixed, so that the user's locale does not change glyph forms.
  pango_context_set_language(context, pango_language_from_string("en"));
}

FontEngine::Impl::~Impl() {
  for (CachedLayout& slot : layouts_)
    if (slot.layout) g_object_unref(slot.layout);
  g_object_unref(context);
}

double FontEngine::Impl::CellPerEm(const LayoutKey& key) {
  const auto id = std::make_tuple(key.face, key.bold, key.italic, key.japanese);
  if (auto it = cellPerEm_.find(id); it != cellPerEm_.end()) return it->second;
  PangoFontDescription* desc = NewDescription(key, kReferenceEmPixels);
  PangoFont* font = pango_context_load_font(context, desc);
  pango_font_description_free(desc);
  double ratio = 1;
  if (font) {
    PangoFontMetrics* m = pango_font_get_metrics(font, key.japanese ? Japanese() : nullptr);
    const int cell = pango_font_metrics_get_ascent(m) + pango_font_metrics_get_descent(m);
    if (cell > 0) ratio = cell / (kReferenceEmPixels * PANGO_SCALE);
    pango_font_metrics_unref(m);
    g_object_unref(font);
  }
  return cellPerEm_[id] = ratio;
}

UnderlineMetrics FontEngine::Impl::UnderlineOf(const LayoutKey& key) {
  PangoFontDescription* desc = NewDescription(key, key.emPixels);
  PangoLanguage* language = key.japanese ? Japanese() : pango_context_get_language(context);
  PangoFont* font = FirstFont(context, desc, language);
  pango_font_description_free(desc);
  UnderlineMetrics underline;
  if (font) {
    PangoFontMetrics* m = pango_font_get_metrics(font, language);
    underline = {pango_font_metrics_get_underline_position(m),
                 pango_font_metrics_get_underline_thickness(m)};
    pango_font_metrics_unref(m);
    g_object_unref(font);
  }
  return underline;
}

LayoutKey FontEngine::Impl::KeyFor(const FontDescription& font) {
  LayoutKey key{
      ResolvedFace(font.faceName), 0, font.bold, font.italic, font.underline, font.shiftJis};
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
  const bool fresh = !slot.layout;
  if (fresh) {
    slot.layout = pango_layout_new(context);
    // One line: a line break in the text is shown, not obeyed.
    pango_layout_set_single_paragraph_mode(slot.layout, TRUE);
  }
  if (fresh || !(slot.key == key)) {
    PangoFontDescription* desc = NewDescription(key, key.emPixels);
    pango_layout_set_font_description(slot.layout, desc);
    pango_font_description_free(desc);
    // The underline is drawn by DrawBlackText: Pango leaves out leading and
    // trailing spaces.
    if (key.underline) slot.underline = UnderlineOf(key);
    PangoAttrList* attrs = pango_attr_list_new();
    if (key.japanese) pango_attr_list_insert(attrs, pango_attr_language_new(Japanese()));
    pango_layout_set_attributes(slot.layout, attrs);
    pango_attr_list_unref(attrs);
    slot.key = key;
  }
  const std::string valid = ValidUtf8(text);
  pango_layout_set_text(slot.layout, valid.data(), int(valid.size()));
  slot.text = text;
}

FontEngine::Impl::Laid FontEngine::Impl::Layout(const FontDescription& font,
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
  return {slot->layout, key.underline ? &slot->underline : nullptr};
}

FontEngine::FontEngine(int dpi) {
  if (dpi <= 0) throw Error("解像度が正しくありません (" + std::to_string(dpi) + " dpi)");
  impl_ = std::make_unique<Impl>(dpi);
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
  const Impl::Laid laid = impl_->Layout(font, text);
  PangoRectangle logical;
  pango_layout_get_pixel_extents(laid.layout, nullptr, &logical);
  TextExtent extent{logical.width, logical.height, logical.height};
  if (laid.underline)
    extent.drawnCy = std::max(extent.cy, RowsOfUnderline(laid.layout, *laid.underline).bottom);
  return extent;
}

void FontEngine::DrawBlackText(const FontDescription& font, const std::string& text,
                               std::uint8_t* pixels, int width, int height, int stride, int originX,
                               int originY) {
  const Impl::Laid laid = impl_->Layout(font, text);
  cairo_surface_t* surface =
      cairo_image_surface_create_for_data(pixels, CAIRO_FORMAT_RGB24, width, height, stride);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_move_to(cr, -originX, -originY);
  ShowLayoutUncut(cr, laid.layout, width, height);
  if (laid.underline) {
    // Whole pixels under the whole advance width, spaces included.
    PangoRectangle logical;
    pango_layout_get_pixel_extents(laid.layout, nullptr, &logical);
    const UnderlineRows rows = RowsOfUnderline(laid.layout, *laid.underline);
    const int left = std::max(logical.x - originX, -1);
    const int right = std::min(logical.x + logical.width - originX, width + 1);
    if (left < right) {
      cairo_rectangle(cr, left, rows.top - originY, right - left, rows.bottom - rows.top);
      cairo_fill(cr);
    }
  }
  const cairo_status_t status = cairo_status(cr);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS)
    throw Error(std::string("文字を描画できません: ") + cairo_status_to_string(status));
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
