// The integer and colour text forms of the settings file.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "image/image.h"

namespace glyphary {

// Integer text as the settings file holds it: leading blanks, an optional
// sign, then decimal digits or hex digits after "$", "x", "X" or "0x"; a
// leading "0x"/"0X" (text longer than two characters) reads like "$". The
// whole text must be used. Decimal must fit in int32; hex is a 32-bit
// pattern up to $FFFFFFFF and wraps ($FFFFFFFF is -1, $80000008 reads back
// as that system colour). nullopt for anything else, empty text included.
std::optional<std::int32_t> ParseIniInteger(std::string_view text);

// A colour name in any letter case, else an integer as ParseIniInteger reads
// it (taken as its 32-bit pattern); nullopt when neither.
std::optional<TColor> ParseColor(std::string_view text);

}  // namespace glyphary
