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

std::string NotAnInteger(const std::string& text) {
  return "'" + text + "' は整数ではありません";
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

void CheckSettingsFile(const std::string& path) {
  ReadExistingIniFile(path);
}

void StoreMainSettings(const std::string& path, const MainSettingsTarget& source) {
  Store(path, MainSettingsKeys(), source);
}

void StoreExportOptions(const std::string& path, const ExportSettingsTarget& source) {
  Store(path, ExportSettingsKeys(), source);
}

}  // namespace glyphary
