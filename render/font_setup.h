// Process-wide font setup: our fontconfig file loaded before any font is
// used, and the one Pango font map built on that configuration.
#pragma once

#include <fontconfig/fontconfig.h>
#include <pango/pango.h>

#include <string>
#include <vector>

namespace glyphary {

// A face name that fontconfig maps to an installed family.
struct FontAlias {
  std::string name;    // e.g. "ＭＳ Ｐゴシック"
  std::string target;  // e.g. "IPAPGothic"
};

// The <alias> entries of a fontconfig file: the first <family> of each is the
// alias, the first <family> inside its <accept> the target.
std::vector<FontAlias> ReadFontAliases(const std::string& confText);

struct FontSetup {
  FcConfig* config = nullptr;
  PangoFontMap* fontMap = nullptr;
  std::vector<FontAlias> aliases;
  std::string confPath;  // empty when our file was not found
};

// Loads the configuration and creates the font map on first use.
const FontSetup& SharedFontSetup();

// A font map of its own on the shared configuration, for another thread.
PangoFontMap* NewFontMap();

}  // namespace glyphary
