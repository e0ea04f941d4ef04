// What a font file's own tables tell: the cell height of the Windows
// engine, and whether its glyphs come in colours of their own.
#include <cairo-ft.h>
#include <hb-ot.h>

#include FT_TRUETYPE_TABLES_H

#include "render/font_engine.h"

namespace glyphary {
namespace {

// The FreeType face of a Cairo font, locked while this lives.
class LockedFace {
 public:
  explicit LockedFace(cairo_scaled_font_t* font)
      : font_(font), face_(cairo_ft_scaled_font_lock_face(font)) {}
  ~LockedFace() {
    if (face_) cairo_ft_scaled_font_unlock_face(font_);
  }
  LockedFace(const LockedFace&) = delete;
  LockedFace& operator=(const LockedFace&) = delete;
  FT_Face Face() const { return face_; }

 private:
  cairo_scaled_font_t* font_;
  FT_Face face_;
};

}  // namespace

WinCell WinCellOf(PangoFont* font) {
  if (!PANGO_IS_CAIRO_FONT(font)) return {};
  cairo_scaled_font_t* scaled = pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(font));
  if (!scaled || cairo_scaled_font_status(scaled) != CAIRO_STATUS_SUCCESS ||
      cairo_scaled_font_get_type(scaled) != CAIRO_FONT_TYPE_FT)
    return {};
  const LockedFace locked(scaled);
  const FT_Face face = locked.Face();
  if (!face || face->units_per_EM == 0) return {};
  const double em = face->units_per_EM;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0)
    return {os2->usWinAscent / em, os2->usWinDescent / em};
  // FreeType's ascender and descender are the hhea ones.
  return {face->ascender / em, -face->descender / em};
}

bool IsColourFont(PangoFont* font) {
  hb_font_t* hb = font ? pango_font_get_hb_font(font) : nullptr;
  return hb && hb_ot_color_has_png(hb_font_get_face(hb));
}

}  // namespace glyphary
