// Internals of FontEngine: the Pango context and the layouts it reuses.
#pragma once

#include <pango/pangocairo.h>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "render/handles.h"
#include "render/render.h"
#include "render/uncut_layout.h"

namespace glyphary {

// Everything that decides how Pango lays out a text.
struct LayoutKey {
  std::string face;  // the family asked for, "Default" resolved
  double emPixels = 0;
  bool bold = false, italic = false, underline = false, japanese = false;
  TextFlow flow{};
  bool operator==(const LayoutKey&) const = default;
};

// The face a font description asks the engine for.
std::string ResolvedFace(const std::string& faceName);

// Where a font puts its underline, in Pango units: the line's top above the
// baseline (negative below it) and its thickness.
struct UnderlineMetrics {
  int position = 0;
  int thickness = 0;
};

// Whether the font draws its glyphs in colours of its own, as Cairo shows
// them: colour bitmaps (CBDT, sbix). Cairo 1.16 draws colour layers (COLR)
// as plain outlines, so they count as plain.
bool IsColourFont(PangoFont* font);

// Where a laid-out text lies on the device: as laid out, or turned a
// quarter clockwise for vertical text, its logical box's top-left (in whole
// pixels) at the device's origin either way.
struct Placement {
  bool vertical = false;
  int logicalLeft = 0;    // pixels, in the layout's own coordinates
  int logicalBottom = 0;  // pixels, in the layout's own coordinates

  // A box of the layout's pixels where it lies on the device.
  PixelBox ToDevice(const PixelBox& laid) const;
  // The same turn for Cairo: layout coordinates to device ones.
  cairo_matrix_t Matrix() const;
};
Placement PlacementOf(PangoLayout* layout, bool vertical);

// The underline of each line in the layout's own pixels: under the whole
// advance, spaces included; in vertical text the line at the right of each
// column (on the side the turn takes the top of the layout's lines to).
std::vector<PixelBox> UnderlineBars(PangoLayout* layout, const UnderlineMetrics& metrics,
                                    bool vertical, double emPixels);

// A face's cell as the Windows engine reports it, per em: the OS/2 win
// ascent and descent, or the hhea ones where a font has no OS/2 table.
struct WinCell {
  double ascent = 0, descent = 0;
  bool Empty() const { return ascent + descent <= 0; }
};
// Empty where the font is not a FreeType one.
WinCell WinCellOf(PangoFont* font);

struct FontEngine::Impl {
  Impl(int dpi, FontMap fontMap);

  LayoutKey KeyFor(const FontDescription& font);
  struct LaidText {
    PangoLayout* layout = nullptr;
    const UnderlineMetrics* underline = nullptr;  // null without underline
    const LayoutKey* key = nullptr;
    const Placement* placement = nullptr;
    bool colour = false;  // a colour font draws some glyphs
  };
  // A layout of the text in the font, from the small cache when it is there.
  LaidText Layout(const FontDescription& font, const std::string& text);
  // The height of the Windows cell in pixels: its ascent and descent rounded.
  int CellHeight(const LayoutKey& key);

  // An image that shows the text's coordinates from (originX, originY).
  struct DrawTarget {
    std::uint8_t* pixels;
    int width, height, stride, originX, originY;
  };
  // The glyphs of the pass in black (colour glyphs in their own colours), the
  // underline with the plain ones.
  void Draw(const FontDescription& font, const std::string& text, const DrawTarget& target,
            GlyphPass pass);
  void DrawUnderline(cairo_t* cr, const LaidText& laid, const DrawTarget& target);

  int dpi;
  GObjectPtr<PangoFontMap> ownFontMap;  // null for the process's shared one
  GObjectPtr<PangoContext> context;
  // Vertical text: east gravity, the device turned a quarter clockwise.
  GObjectPtr<PangoContext> verticalContext;
  // Left unset when it grows: every user fills what it takes.
  std::unique_ptr<std::uint8_t[]> scratch;
  std::size_t scratchBytes = 0;

 private:
  struct CachedLayout {
    LayoutKey key;
    std::string text;
    GObjectPtr<PangoLayout> layout;
    UnderlineMetrics underline;
    Placement placement;
    bool colour = false;
    std::uint64_t lastUse = 0;
  };
  PangoContext* ContextFor(const LayoutKey& key) const;
  // The natural distance of the face's lines, in Pango units.
  int LineHeightOf(const LayoutKey& key);
  double CellPerEm(const LayoutKey& key);
  GObjectPtr<PangoFont> FirstFontOf(const LayoutKey& key);
  UnderlineMetrics UnderlineOf(const LayoutKey& key, PangoLayout* layout);
  WinCell WinCellFor(const LayoutKey& key);
  void Configure(CachedLayout& slot, const LayoutKey& key, const std::string& text);

  std::array<CachedLayout, 4> layouts_;
  std::uint64_t clock_ = 0;
  using FaceId = std::tuple<std::string, bool, bool, bool>;
  // (ascent + descent) / em of a face, for fonts asked for by cell height.
  std::map<FaceId, double> cellPerEm_;
  std::map<FaceId, WinCell> winCells_;
};

}  // namespace glyphary
