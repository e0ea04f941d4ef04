#include "settings/ini_line.h"

#include <string>
#include <string_view>

namespace glyphary {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool IsQuoted(std::string_view s) {
  return s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front();
}

}  // namespace

IniLine ClassifyIniLine(std::string_view line) {
  const std::string_view text = Trim(line);
  if (text.empty() || text.front() == ';' || text.front() == '#') return {};
  if (text.front() == '[') {
    const auto close = text.find(']');
    if (close == std::string_view::npos) return {};
    return {IniLine::Kind::Section, Trim(text.substr(1, close - 1)), {}};
  }
  const auto equals = text.find('=');
  if (equals == std::string_view::npos) return {};
  const std::string_view key = Trim(text.substr(0, equals));
  if (key.empty()) return {};
  return {IniLine::Kind::Key, key, Trim(text.substr(equals + 1))};
}

std::string_view UnquoteIniValue(std::string_view value) {
  return IsQuoted(value) ? value.substr(1, value.size() - 2) : value;
}

std::string QuoteIniValue(std::string_view value) {
  // Quotes protect blanks at either end and text that is itself quoted.
  if (!value.empty() && (IsBlank(value.front()) || IsBlank(value.back()) || IsQuoted(value))) {
    std::string quoted(1, '"');
    quoted += value;
    quoted += '"';
    return quoted;
  }
  return std::string(value);
}

}  // namespace glyphary
