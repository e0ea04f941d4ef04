// The command line's colour forms, until the settings core offers them as one
// function of its own.
#include "python/color_text.h"

#include <glib.h>

#include "settings/settings.h"

namespace glyphary {
namespace {

std::optional<TColor> ParseHexRgb(std::string_view text) {
  if (text.size() != 7 || text[0] != '#') return std::nullopt;
  std::uint32_t value = 0;
  for (const char c : text.substr(1)) {
    const int digit = g_ascii_xdigit_value(c);
    if (digit < 0) return std::nullopt;
    value = value * 16 + std::uint32_t(digit);
  }
  return Rgb(std::uint8_t(value >> 16), std::uint8_t(value >> 8), std::uint8_t(value));
}

}  // namespace

std::optional<TColor> ParseColorText(std::string_view text) {
  if (auto rgb = ParseHexRgb(text)) return rgb;
  return ParseColor(text);
}

}  // namespace glyphary
