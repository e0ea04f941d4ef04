// How a style becomes a font description: the platform's arithmetic on
// heights and the face name as a font holds it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace glyphary {

// A font uses at most this many bytes of its face name, counted in Shift-JIS.
inline constexpr std::size_t kMaxFaceNameBytes = 31;

// a × b / c without overflow, rounded to nearest with halves away from zero;
// -1 when c is 0 or the result does not fit, as the platform's MulDiv.
std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c);
// The face name as a font holds it: cut to 31 bytes of Shift-JIS (a character
// that Shift-JIS lacks counts two), never inside a character.
std::string CutFaceName(const std::string& name);

}  // namespace glyphary
