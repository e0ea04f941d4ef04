// The caption style as render() takes it: one table of keywords, each
// setting its part of the request, so that a new style option is one entry.
#pragma once

#include <pybind11/pybind11.h>

#include <span>

#include "render/render.h"

namespace glyphary {

struct RenderRequest {
  CaptionStyle style;
  bool alpha = false;  // the caption with real transparency (RGBA)
  int dpi = 96;
};

struct StyleKeyword {
  const char* name;
  // Throws pybind11::type_error or value_error for a value it cannot take.
  void (*apply)(pybind11::handle value, RenderRequest& request);
};

// In the order positional arguments after the text take them.
std::span<const StyleKeyword> StyleKeywords();

// The request that the arguments after the text make, over the defaults;
// TypeError for an unknown keyword or one given twice.
RenderRequest RequestFrom(const pybind11::args& args, const pybind11::kwargs& kwargs);

}  // namespace glyphary
