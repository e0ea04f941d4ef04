// Owning holders for the C handles of GLib, Pango, Cairo and fontconfig, so that every
// path out of a drawing, a throw included, gives them back.
#pragma once

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include <memory>

namespace glyphary {

template <auto Release>
struct ReleaseWith {
  template <typename T>
  void operator()(T* handle) const noexcept {
    if (handle) Release(handle);
  }
};

template <typename T, auto Release>
using Handle = std::unique_ptr<T, ReleaseWith<Release>>;

template <typename T>
using GObjectPtr = Handle<T, g_object_unref>;

using CairoPtr = Handle<cairo_t, cairo_destroy>;
using CairoSurfacePtr = Handle<cairo_surface_t, cairo_surface_destroy>;
using CairoFontOptionsPtr = Handle<cairo_font_options_t, cairo_font_options_destroy>;
using FontDescriptionPtr = Handle<PangoFontDescription, pango_font_description_free>;
using FontMetricsPtr = Handle<PangoFontMetrics, pango_font_metrics_unref>;
using AttrListPtr = Handle<PangoAttrList, pango_attr_list_unref>;
using LayoutIterPtr = Handle<PangoLayoutIter, pango_layout_iter_free>;
using GCharPtr = Handle<gchar, g_free>;
using FcPatternPtr = Handle<FcPattern, FcPatternDestroy>;
using FcObjectSetPtr = Handle<FcObjectSet, FcObjectSetDestroy>;
using FcFontSetPtr = Handle<FcFontSet, FcFontSetDestroy>;

}  // namespace glyphary
