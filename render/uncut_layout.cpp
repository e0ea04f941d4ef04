#include "render/uncut_layout.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "render/font_engine.h"
#include "render/handles.h"

namespace glyphary {
namespace {

struct UncutRenderer {
  PangoRenderer parent;
  cairo_t* cr;
  double originX, originY;          // the layout's top-left, as Pango's renderer takes it
  double left, top, right, bottom;  // the image, in the user space the glyphs are placed in
  GlyphPass pass;
  // Where a failure inside the C callback waits to be rethrown; exceptions
  // must not cross Pango's frames.
  std::exception_ptr* failure;
};

struct UncutRendererClass {
  PangoRendererClass parent;
};

// The glyphs of a run where Pango's cairo renderer puts them.
std::vector<cairo_glyph_t> PlacedGlyphs(const UncutRenderer& r, const PangoGlyphString& glyphs,
                                        int x, int y) {
  const double baseX = r.originX + double(x) / PANGO_SCALE;
  const double baseY = r.originY + double(y) / PANGO_SCALE;
  std::vector<cairo_glyph_t> placed;
  placed.reserve(std::size_t(glyphs.num_glyphs) + 2);
  int advance = 0;
  for (int i = 0; i < glyphs.num_glyphs; ++i) {
    const PangoGlyphInfo& g = glyphs.glyphs[i];
    if (g.glyph != PANGO_GLYPH_EMPTY) {
      const double cx = baseX + double(advance + g.geometry.x_offset) / PANGO_SCALE;
      const double cy =
          g.geometry.y_offset == 0 ? baseY : baseY + double(g.geometry.y_offset) / PANGO_SCALE;
      placed.push_back({g.glyph, cx, cy});
    }
    advance += g.geometry.width;
  }
  return placed;
}

// The box of a glyph at the origin; empty for a space.
cairo_text_extents_t BoxOf(cairo_scaled_font_t* font, unsigned long index) {
  cairo_text_extents_t box;
  cairo_glyph_t glyph = {index, 0, 0};
  cairo_scaled_font_glyph_extents(font, &glyph, 1, &box);
  return box;
}

// Two copies of an inked glyph of the run, beyond the top-left and the
// bottom-right corner with a line's height to spare: far enough that no ink of
// theirs reaches the image, near enough that Cairo does not drop them (it
// drops glyphs about ten em away). A run of spaces inks nothing and needs none.
void AddCornerGlyphs(std::vector<cairo_glyph_t>& placed, cairo_scaled_font_t* font,
                     const UncutRenderer& r) {
  cairo_font_extents_t line;
  cairo_scaled_font_extents(font, &line);
  const double margin = std::max(1.0, line.height);
  for (std::size_t i = 0; i < placed.size(); ++i) {
    const unsigned long index = placed[i].index;
    const cairo_text_extents_t box = BoxOf(font, index);
    if (box.width <= 0 || box.height <= 0) continue;
    placed.push_back({index, r.left - (box.x_bearing + box.width) - margin,
                      r.top - (box.y_bearing + box.height) - margin});
    placed.push_back({index, r.right - box.x_bearing + margin, r.bottom - box.y_bearing + margin});
    return;
  }
}

bool TakesFont(GlyphPass pass, PangoFont* font) {
  return pass == GlyphPass::All || (pass == GlyphPass::Colour) == IsColourFont(font);
}

void DrawGlyphsOrThrow(UncutRenderer& r, PangoFont* font, PangoGlyphString* glyphs, int x, int y) {
  if (!TakesFont(r.pass, font)) return;
  std::vector<cairo_glyph_t> placed = PlacedGlyphs(r, *glyphs, x, y);
  cairo_scaled_font_t* scaled = pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(font));
  if (placed.empty() || !scaled || cairo_scaled_font_status(scaled) != CAIRO_STATUS_SUCCESS) return;
  AddCornerGlyphs(placed, scaled, r);
  cairo_save(r.cr);
  cairo_set_scaled_font(r.cr, scaled);
  cairo_show_glyphs(r.cr, placed.data(), int(placed.size()));
  cairo_restore(r.cr);
}

void DrawGlyphs(PangoRenderer* renderer, PangoFont* font, PangoGlyphString* glyphs, int x,
                int y) noexcept {
  UncutRenderer& r = *reinterpret_cast<UncutRenderer*>(renderer);
  if (*r.failure) return;
  try {
    DrawGlyphsOrThrow(r, font, glyphs, x, y);
  } catch (...) {
    *r.failure = std::current_exception();
  }
}

void InitClass(gpointer klass, gpointer) {
  PANGO_RENDERER_CLASS(klass)->draw_glyphs = DrawGlyphs;
}

GType UncutRendererType() {
  static const GType type = g_type_register_static_simple(
      PANGO_TYPE_RENDERER, "GlypharyUncutRenderer", sizeof(UncutRendererClass), InitClass,
      sizeof(UncutRenderer), nullptr, GTypeFlags(0));
  return type;
}

}  // namespace

void ShowLayoutUncut(cairo_t* cr, PangoLayout* layout, int width, int height, GlyphPass pass) {
  // Colour glyphs need no boxes of unknown characters.
  if (pass != GlyphPass::Colour && pango_layout_get_unknown_glyphs_count(layout) > 0) {
    pango_cairo_show_layout(cr, layout);
    return;
  }
  const GObjectPtr<UncutRenderer> renderer(
      static_cast<UncutRenderer*>(g_object_new(UncutRendererType(), nullptr)));
  std::exception_ptr failure;
  renderer->cr = cr;
  cairo_get_current_point(cr, &renderer->originX, &renderer->originY);
  // A quarter turn keeps the image's box a box.
  double x0 = 0, y0 = 0, x1 = width, y1 = height;
  cairo_device_to_user(cr, &x0, &y0);
  cairo_device_to_user(cr, &x1, &y1);
  renderer->left = std::min(x0, x1);
  renderer->top = std::min(y0, y1);
  renderer->right = std::max(x0, x1);
  renderer->bottom = std::max(y0, y1);
  renderer->failure = &failure;
  renderer->pass = pass;
  pango_renderer_draw_layout(&renderer->parent, layout, 0, 0);
  if (failure) std::rethrow_exception(failure);
}

}  // namespace glyphary
