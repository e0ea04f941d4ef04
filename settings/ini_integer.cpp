#include <glib.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "settings/text_forms.h"

namespace glyphary {
namespace {

// Digits after the sign; `limit` is the largest magnitude accepted. Returns
// nullopt when a character is not a digit, there is none, or it overflows.
std::optional<std::uint64_t> Magnitude(std::string_view digits, unsigned base,
                                       std::uint64_t limit) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : digits) {
    const int d = g_ascii_xdigit_value(c);
    if (d < 0 || unsigned(d) >= base) return std::nullopt;
    value = value * base + unsigned(d);
    if (value > limit) return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<std::int32_t> ParseIniInteger(std::string_view text) {
  std::string s(text);
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s.replace(0, 2, "$");

  std::string_view rest = s;
  while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
  bool negative = false;
  if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
    negative = rest.front() == '-';
    rest.remove_prefix(1);
  }

  bool hex = false;
  if (!rest.empty() && (rest.front() == '$' || rest.front() == 'x' || rest.front() == 'X')) {
    hex = true;
    rest.remove_prefix(1);
  } else if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
    hex = true;
    rest.remove_prefix(2);
  }

  if (hex) {
    // A 32-bit pattern: $FFFFFFFF is -1, so colours of any top byte round-trip.
    const auto m = Magnitude(rest, 16, 0xFFFFFFFFu);
    if (!m) return std::nullopt;
    const std::uint32_t bits = std::uint32_t(*m);
    return std::int32_t(negative ? 0u - bits : bits);
  }
  const std::uint64_t limit = negative ? std::uint64_t(std::numeric_limits<std::int32_t>::max()) + 1
                                       : std::numeric_limits<std::int32_t>::max();
  const auto m = Magnitude(rest, 10, limit);
  if (!m) return std::nullopt;
  return negative ? std::int32_t(-std::int64_t(*m)) : std::int32_t(*m);
}

}  // namespace glyphary
