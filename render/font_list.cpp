// The two face lists: every installed family for the user to pick from, and
// the families with Japanese glyphs that decide the character set.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "io/io.h"
#include "render/font_setup.h"
#include "render/handles.h"
#include "render/render.h"

namespace glyphary {
namespace {

struct Family {
  std::string name;                // Japanese name where the font has one
  std::vector<std::string> names;  // every name of the family, any language
  bool japanese = false;
};

using Families = std::vector<Family>;  // one per family, in enumeration order

// Family names hold no NUL, so the C string comparison sees them whole.
bool LessIgnoringCase(const std::string& a, const std::string& b) {
  return g_ascii_strcasecmp(a.c_str(), b.c_str()) < 0;
}

std::string DisplayName(FcPattern* font) {
  FcChar8* first = nullptr;
  if (FcPatternGetString(font, FC_FAMILY, 0, &first) != FcResultMatch) return {};
  for (int i = 0;; ++i) {
    FcChar8 *family = nullptr, *lang = nullptr;
    if (FcPatternGetString(font, FC_FAMILY, i, &family) != FcResultMatch) break;
    if (FcPatternGetString(font, FC_FAMILYLANG, i, &lang) == FcResultMatch &&
        std::strcmp(reinterpret_cast<const char*>(lang), "ja") == 0)
      return reinterpret_cast<const char*>(family);
  }
  return reinterpret_cast<const char*>(first);
}

bool HasJapanese(FcPattern* font) {
  FcLangSet* langs = nullptr;
  return FcPatternGetLangSet(font, FC_LANG, 0, &langs) == FcResultMatch &&
         FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>("ja")) == FcLangEqual;
}

void AddFont(Families& out, FcPattern* font) {
  const std::string name = DisplayName(font);
  if (name.empty()) return;
  // fontconfig reports fonts; the lists want families, as the platform enumerates them.
  auto it = std::find_if(out.begin(), out.end(), [&](const Family& f) { return f.name == name; });
  if (it == out.end()) it = out.insert(out.end(), Family{name, {}, false});
  it->japanese = it->japanese || HasJapanese(font);
  FcChar8* family = nullptr;
  for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &family) == FcResultMatch; ++i)
    it->names.emplace_back(reinterpret_cast<const char*>(family));
}

const Family* FindFamily(const Families& families, const std::string& anyName) {
  for (const Family& f : families)
    for (const std::string& n : f.names)
      if (SameIgnoringAsciiCase(n, anyName)) return &f;
  return nullptr;
}

Families EnumerateFamilies() {
  const FontSetup& setup = SharedFontSetup();
  Families out;
  const FcPatternPtr all(FcPatternCreate());
  const FcObjectSetPtr objects(FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, FC_LANG, nullptr));
  const FcFontSetPtr fonts(FcFontList(setup.config, all.get(), objects.get()));
  for (int i = 0; fonts && i < fonts->nfont; ++i) AddFont(out, fonts->fonts[i]);

  // Our aliases act as families of their own where their target is installed
  // and no installed font has the name itself.
  const std::size_t installed = out.size();
  out.reserve(installed + setup.aliases.size());
  const auto isInstalled = [&](const Family* f) { return f && f < out.data() + installed; };
  for (const FontAlias& alias : setup.aliases) {
    const Family* target = FindFamily(out, alias.target);
    if (isInstalled(target) && !isInstalled(FindFamily(out, alias.name)))
      out.push_back({alias.name, {alias.name}, target->japanese});
  }
  return out;
}

const Families& SharedFamilies() {
  static const Families families = EnumerateFamilies();
  return families;
}

}  // namespace

const std::vector<std::string>& FontEngine::FaceList() {
  static const std::vector<std::string> list = [] {
    std::vector<std::string> faces = {"Default"};
    for (const Family& f : SharedFamilies())
      if (!SameIgnoringAsciiCase(f.name, faces.back())) faces.push_back(f.name);
    std::stable_sort(faces.begin(), faces.end(), LessIgnoringCase);
    return faces;
  }();
  return list;
}

const std::vector<std::string>& FontEngine::ShiftJisFaceList() {
  static const std::vector<std::string> list = [] {
    std::vector<std::string> faces;
    for (const Family& f : SharedFamilies())
      if (f.japanese && f.name.compare(0, 1, "@") != 0) faces.push_back(f.name);
    return faces;
  }();
  return list;
}

bool FontEngine::IsShiftJisFont(const std::string& name) {
  const std::vector<std::string>& list = ShiftJisFaceList();
  return std::find(list.begin(), list.end(), name) != list.end();
}

}  // namespace glyphary
