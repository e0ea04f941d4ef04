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

namespace glyphary {

// Everything that decides how Pango lays out a text.
struct LayoutKey {
  std::string face;  // the family asked for, "Default" resolved
  double emPixels = 0;
  bool bold = false, italic = false, underline = false, japanese = false;
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

// The rows [top, bottom) of a layout's underline, in pixels from its top.
struct UnderlineRows {
  int top = 0;
  int bottom = 0;
};
UnderlineRows RowsOfUnderline(PangoLayout* layout, const UnderlineMetrics& metrics);

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
  struct Laid {
    PangoLayout* layout = nullptr;
    const UnderlineMetrics* underline = nullptr;  // null without underline
    const LayoutKey* key = nullptr;
  };
  // A layout of the text in the font, from the small cache when it is there.
  Laid Layout(const FontDescription& font, const std::string& text);
  // The height of the Windows cell in pixels: its ascent and descent rounded.
  int CellHeight(const LayoutKey& key);

  int dpi;
  GObjectPtr<PangoFontMap> ownFontMap;  // null for the process's shared one
  GObjectPtr<PangoContext> context;
  // Left unset when it grows: every user fills what it takes.
  std::unique_ptr<std::uint8_t[]> scratch;
  std::size_t scratchBytes = 0;

 private:
  struct CachedLayout {
    LayoutKey key;
    std::string text;
    GObjectPtr<PangoLayout> layout;
    UnderlineMetrics underline;
    std::uint64_t lastUse = 0;
  };
  double CellPerEm(const LayoutKey& key);
  GObjectPtr<PangoFont> FirstFontOf(const LayoutKey& key);
  UnderlineMetrics UnderlineOf(const LayoutKey& key);
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
