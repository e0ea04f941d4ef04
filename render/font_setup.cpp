#include "render/font_setup.h"

#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include <fstream>
#include <iterator>

#include "render/render.h"

namespace glyphary {
namespace {

// Beside the executable (build tree) or in the installed data folder.
std::string FindConfFile() {
  try {
    return FindProgramFile("fonts/glyphary-fonts.conf");
  } catch (const Error&) {
    return {};  // no /proc: fontconfig's own configuration still works
  }
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The text of the first <family> element at or after `from` and before `end`.
std::string FirstFamily(const std::string& text, std::size_t from, std::size_t end) {
  static const std::string open = "<family>", close = "</family>";
  const std::size_t a = text.find(open, from);
  if (a == std::string::npos || a >= end) return {};
  const std::size_t b = text.find(close, a);
  if (b == std::string::npos || b > end) return {};
  return text.substr(a + open.size(), b - a - open.size());
}

PangoFontMap* FontMapOn(FcConfig* config) {
  PangoFontMap* map = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
  if (!map) throw Error("フォントを初期化できません");
  pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(map), config);
  return map;
}

FontSetup CreateSetup() {
  FontSetup setup;
  setup.config = FcInitLoadConfig();
  setup.confPath = FindConfFile();
  if (!setup.confPath.empty() &&
      FcConfigParseAndLoad(setup.config, reinterpret_cast<const FcChar8*>(setup.confPath.c_str()),
                           FcTrue))
    setup.aliases = ReadFontAliases(ReadText(setup.confPath));
  FcConfigBuildFonts(setup.config);
  FcConfigSetCurrent(setup.config);
  setup.fontMap = FontMapOn(setup.config);
  return setup;
}

}  // namespace

std::vector<FontAlias> ReadFontAliases(const std::string& text) {
  std::vector<FontAlias> aliases;
  std::size_t pos = 0;
  while ((pos = text.find("<alias", pos)) != std::string::npos) {
    std::size_t end = text.find("</alias>", pos);
    if (end == std::string::npos) end = text.size();
    const std::size_t accept = text.find("<accept>", pos);
    FontAlias alias{FirstFamily(text, pos, end),
                    accept < end ? FirstFamily(text, accept, end) : std::string()};
    if (!alias.name.empty() && !alias.target.empty()) aliases.push_back(std::move(alias));
    pos = end;
  }
  return aliases;
}

void InitializeFonts() {
  SharedFontSetup();
}

PangoFontMap* NewFontMap() {
  return FontMapOn(SharedFontSetup().config);
}

const FontSetup& SharedFontSetup() {
  // Lives for the whole process: fonts may be used until exit.
  static const FontSetup setup = CreateSetup();
  return setup;
}

}  // namespace glyphary

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define GLYPHARY_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(GLYPHARY_ADDRESS_SANITIZER)
// fontconfig keeps its configuration and caches until exit and frees them
// only in FcFini, which cannot run while Pango and Cairo still hold fonts.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
#endif
