// The tests' own Pango context, set apart from the engine's: grey smoothing
// without hinting at unrounded positions, as a caption is drawn.
#pragma once

#include <pango/pangocairo.h>

#include "render/handles.h"

namespace glyphary {

inline GObjectPtr<PangoContext> OracleContext() {
  GObjectPtr<PangoContext> context(
      pango_font_map_create_context(pango_cairo_font_map_get_default()));
  const CairoFontOptionsPtr options(cairo_font_options_create());
  cairo_font_options_set_antialias(options.get(), CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options.get(), CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options.get(), CAIRO_HINT_METRICS_OFF);
  pango_cairo_context_set_font_options(context.get(), options.get());
  pango_context_set_round_glyph_positions(context.get(), FALSE);
  return context;
}

}  // namespace glyphary
