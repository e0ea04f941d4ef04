// The text helpers, on GLib's locale-independent ASCII and UTF-8 functions.
#include <glib.h>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

#include "io/io.h"

namespace glyphary {

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return g_ascii_tolower(x) == g_ascii_tolower(y); });
}

std::string ToValidUtf8(std::string_view text) {
  if (g_utf8_validate_len(text.data(), text.size(), nullptr)) return std::string(text);
  const std::unique_ptr<gchar, decltype(&g_free)> valid(
      g_utf8_make_valid(text.data(), gssize(text.size())), &g_free);
  return valid.get();
}

}  // namespace glyphary
