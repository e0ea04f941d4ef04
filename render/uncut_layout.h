// Drawing a layout into a part of a larger picture exactly as into the whole.
#pragma once

#include <pango/pangocairo.h>

namespace glyphary {

// Draws the layout as pango_cairo_show_layout does, its top-left at the
// current point, into a cairo_t on an image of width × height pixels, whose
// user space may be the device's moved or turned by quarters.
//
// Cairo clips a glyph run to the union of its glyphs' metric boxes whenever
// that union crosses the image's edge, and emboldened or slanted glyphs ink
// outside their boxes. So a band of a picture would lose ink the whole picture
// shows. Each run here carries two glyphs placed beyond opposite corners,
// whose boxes stretch the union over the whole image and whose ink falls
// outside it. They come last, so Cairo's overlap test, and with it the way
// glyphs are blended, is the same as for the run alone.
//
// Layouts with glyphs that no font has are drawn by Pango itself: it draws
// their boxes in its own way.
// The glyphs a drawing takes: all, those in the fonts' colour only, or the
// colour fonts' alone.
enum class GlyphPass { All, Plain, Colour };
void ShowLayoutUncut(cairo_t* cr, PangoLayout* layout, int width, int height,
                     GlyphPass pass = GlyphPass::All);

}  // namespace glyphary
