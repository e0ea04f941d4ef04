#include <array>
#include <span>
#include <string>

#include "settings/ini_file.h"
#include "settings/settings.h"
#include "settings/settings_keys.h"

namespace glyphary {
namespace {

using Main = MainSettingsTarget;
using Export = ExportSettingsTarget;

const std::array<SettingsKey<Main>, 11> kMainKeys = {{
    {"Window", "Left", IntegerKey<Main>{200, &Main::Left, &Main::SetLeft}, &Main::PositionKnown},
    {"Window", "Top", IntegerKey<Main>{150, &Main::Top, &Main::SetTop}, &Main::PositionKnown},
    {"Window", "Width", IntegerKey<Main>{623, &Main::Width, &Main::SetWidth}},
    {"Window", "Height", IntegerKey<Main>{340, &Main::Height, &Main::SetHeight}},
    {"Font", "Size", IntegerKey<Main>{25, &Main::FontSize, &Main::SetFontSize}},
    {"Font", "Name", TextKey<Main>{"ＭＳ Ｐゴシック", &Main::FaceName, &Main::SetFaceName}},
    {"Font", "Bold", BooleanKey<Main>{false, &Main::Bold, &Main::SetBold}},
    {"Font", "Italic", BooleanKey<Main>{false, &Main::Italic, &Main::SetItalic}},
    {"Font", "UnderLine", BooleanKey<Main>{false, &Main::Underline, &Main::SetUnderline}},
    {"Color", "DrawColor", ColorKey<Main>{"clBlack", &Main::TextColor, &Main::SetTextColor}},
    {"Color", "BGColor",
     ColorKey<Main>{"clWhite", &Main::BackgroundColor, &Main::SetBackgroundColor}},
}};

// 256Color comes after TransParent, so it decides the final 256-colour flag;
// Alpha, which older files lack, comes last.
const std::array<SettingsKey<Export>, 4> kExportKeys = {{
    {"JPEG", "Rate", IntegerKey<Export>{70, &Export::JpegQuality, &Export::SetJpegQuality}},
    {"PNG", "TransParent",
     BooleanKey<Export>{false, &Export::PngTransparent, &Export::SetPngTransparent}},
    {"PNG", "256Color", BooleanKey<Export>{false, &Export::Png256Colors, &Export::SetPng256Colors}},
    {"PNG", "Alpha", BooleanKey<Export>{false, &Export::PngAlpha, &Export::SetPngAlpha}},
}};

using Effect = EffectSettingsTarget;

// After every other section: a file from before the effects loads as it did.
const std::array<SettingsKey<Effect>, 6> kEffectKeys = {{
    {"Effect", "OutlineWidth",
     RangedKey<Effect>{0, 0, kMaxOutlineWidth, &Effect::OutlineWidth, &Effect::SetOutlineWidth}},
    {"Effect", "OutlineColor",
     ColorKey<Effect>{"clWhite", &Effect::OutlineColor, &Effect::SetOutlineColor}},
    {"Effect", "ShadowX",
     RangedKey<Effect>{0, -kMaxShadowOffset, kMaxShadowOffset, &Effect::ShadowX,
                       &Effect::SetShadowX}},
    {"Effect", "ShadowY",
     RangedKey<Effect>{0, -kMaxShadowOffset, kMaxShadowOffset, &Effect::ShadowY,
                       &Effect::SetShadowY}},
    {"Effect", "ShadowColor",
     ColorKey<Effect>{"clGray", &Effect::ShadowColor, &Effect::SetShadowColor}},
    {"Effect", "ShadowBlur",
     RangedKey<Effect>{0, 0, kMaxShadowBlur, &Effect::ShadowBlur, &Effect::SetShadowBlur}},
}};

// A file we cannot read (a folder, a device, one beyond 1 MiB, ...) loads as
// defaults, as a missing one does.
IniDocument ReadForLoading(const std::string& path) {
  try {
    return ReadIniFile(path);
  } catch (const Error&) {
    return {};
  }
}

// Storing over a file we cannot read would lose its other keys.
IniDocument ReadForStoring(const std::string& path) {
  try {
    return ReadIniFile(path);
  } catch (const FileError& e) {
    throw CannotWriteSettings(path, e);
  }
}

template <class Target>
void Store(const std::string& path, std::span<const SettingsKey<Target>> keys,
           const Target& source) {
  IniDocument doc = ReadForStoring(path);
  UpdateSettings(doc, keys, source);
  WriteIniFile(path, doc);
}

}  // namespace

std::span<const SettingsKey<Main>> MainSettingsKeys() {
  return kMainKeys;
}

std::span<const SettingsKey<Export>> ExportSettingsKeys() {
  return kExportKeys;
}

std::span<const SettingsKey<Effect>> EffectSettingsKeys() {
  return kEffectKeys;
}

std::string NotAnInteger(const std::string& text) {
  return "'" + text + "' は整数ではありません";
}

std::string OutOfRange(const std::string& text, std::int32_t minimum, std::int32_t maximum) {
  return "'" + text + "' は " + std::to_string(minimum) + " から " + std::to_string(maximum) +
         " の範囲にありません";
}

std::string KeyOrigin(const std::string& file, const char* section, const char* key) {
  return " (" + (file.empty() ? std::string() : file + " の ") + "[" + section + "] " + key + ")";
}

void LoadMainSettings(const std::string& path, MainSettingsTarget& target) {
  ApplySettings(ReadForLoading(path), MainSettingsKeys(), target, path);
}

void LoadExportOptions(const std::string& path, ExportSettingsTarget& target) {
  ApplySettings(ReadForLoading(path), ExportSettingsKeys(), target, path);
}

void LoadEffectSettings(const std::string& path, EffectSettingsTarget& target) {
  ApplySettings(ReadForLoading(path), EffectSettingsKeys(), target, path);
}

void CheckSettingsFile(const std::string& path) {
  ReadExistingIniFile(path);
}

void StoreMainSettings(const std::string& path, const MainSettingsTarget& source) {
  Store(path, MainSettingsKeys(), source);
}

void StoreExportOptions(const std::string& path, const ExportSettingsTarget& source) {
  Store(path, ExportSettingsKeys(), source);
}

void StoreEffectSettings(const std::string& path, const EffectSettingsTarget& source) {
  Store(path, EffectSettingsKeys(), source);
}

}  // namespace glyphary
