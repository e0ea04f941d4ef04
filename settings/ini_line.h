// What one line of an INI file is: a section header, a key line or anything
// else (comments, blank lines and lines we cannot parse, all kept as they are).
#pragma once

#include <string>
#include <string_view>

namespace glyphary {

struct IniLine {
  enum class Kind { Other, Section, Key };
  Kind kind = Kind::Other;
  std::string_view name;   // section or key name, blanks removed
  std::string_view value;  // key lines: the raw text after "=", blanks removed
};

IniLine ClassifyIniLine(std::string_view line);

// The value text as Get returns it: one pair of enclosing quotes removed.
std::string_view UnquoteIniValue(std::string_view value);

// The text to write after "=" so that reading it back gives `value`.
std::string QuoteIniValue(std::string_view value);

}  // namespace glyphary
