// Public interface of the settings file: colour and integer text forms, and
// the INI file that keeps the window placement, caption style and export
// options from one run to the next. No GUI toolkit in here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "render/render.h"

namespace glyphary {

// ---------------------------------------------------------------- text forms

// Integer text as the settings file holds it: leading blanks, an optional
// sign, then decimal digits or hex digits after "$", "x", "X" or "0x"; a
// leading "0x"/"0X" (text longer than two characters) reads like "$". The
// whole text must be used. Decimal must fit in int32; hex is a 32-bit
// pattern up to $FFFFFFFF and wraps ($FFFFFFFF is -1, $80000008 reads back
// as that system colour). nullopt for anything else, empty text included.
std::optional<std::int32_t> ParseIniInteger(std::string_view text);

// A colour's name from the named-colour table, else "$" and eight upper-case
// hex digits ("$00FF8000").
std::string ColorToText(TColor color);

// A colour name in any letter case, else an integer as ParseIniInteger reads
// it (taken as its 32-bit pattern); nullopt when neither.
std::optional<TColor> ParseColor(std::string_view text);

}  // namespace glyphary
