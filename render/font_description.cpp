#include "render/font_description.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "io/io.h"

namespace glyphary {
namespace {

// Bytes of the UTF-8 character at `at`; a stray byte counts as one.
std::size_t Utf8Length(const std::string& text, std::size_t at) {
  const unsigned char lead = static_cast<unsigned char>(text[at]);
  const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  return std::min(length, text.size() - at);
}

// Bytes of the character at `at` in Shift-JIS: one for ASCII and half-width
// katakana (U+FF61 to U+FF9F), two for every other character, also for one
// that Shift-JIS cannot hold.
std::size_t ShiftJisLength(const std::string& text, std::size_t at) {
  const auto byte = [&](std::size_t i) {
    return at + i < text.size() ? static_cast<unsigned char>(text[at + i]) : 0;
  };
  if (byte(0) < 0x80) return 1;
  const bool halfWidthKatakana = byte(0) == 0xEF && ((byte(1) == 0xBD && byte(2) >= 0xA1) ||
                                                     (byte(1) == 0xBE && byte(2) <= 0x9F));
  return halfWidthKatakana ? 1 : 2;
}

}  // namespace

std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c) {
  if (c == 0) return -1;
  const std::int64_t product = std::int64_t(a) * b;
  std::int64_t quotient = product / c;
  const std::int64_t remainder = product % c;
  // Halves round away from zero.
  if (2 * std::llabs(remainder) >= std::llabs(c)) quotient += (product < 0) != (c < 0) ? -1 : 1;
  if (quotient > std::numeric_limits<std::int32_t>::max() ||
      quotient < std::numeric_limits<std::int32_t>::min())
    return -1;
  return std::int32_t(quotient);
}

std::string CutFaceName(const std::string& name) {
  std::size_t end = 0, shiftJisBytes = 0;
  while (end < name.size()) {
    const std::size_t length = Utf8Length(name, end);
    shiftJisBytes += ShiftJisLength(name, end);
    if (shiftJisBytes > kMaxFaceNameBytes) break;
    end += length;
  }
  return name.substr(0, end);
}

}  // namespace glyphary
