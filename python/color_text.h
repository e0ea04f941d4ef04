// Colours as the module takes them from Python.
#pragma once

#include <optional>
#include <string_view>

#include "image/image.h"

namespace glyphary {

// A colour in every form glyphary-cli takes: a name such as clRed (any letter
// case), $00BBGGRR, 0x00BBGGRR, a decimal number or #RRGGBB; nullopt otherwise.
std::optional<TColor> ParseColorText(std::string_view text);

}  // namespace glyphary
