#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "settings/ini_file.h"
#include "settings/settings.h"
#include "settings/settings_keys.h"
#include "settings/struct_fields.h"

namespace glyphary {
namespace {

using Main = MainSettingsTarget;
using Export = ExportSettingsTarget;

// A missing key reads as the plain values' own default.
const WindowPlacement kWindow;
const CaptionStyle kStyle;
const ExportOptions kExport;

const std::array<SettingsKey<Main>, 11> kMainKeys = {{
    {"Window", "Left", IntegerKey<Main>{kWindow.left, &Main::Left, &Main::SetLeft},
     &Main::PositionKnown},
    {"Window", "Top", IntegerKey<Main>{kWindow.top, &Main::Top, &Main::SetTop},
     &Main::PositionKnown},
    {"Window", "Width", IntegerKey<Main>{kWindow.width, &Main::Width, &Main::SetWidth}},
    {"Window", "Height", IntegerKey<Main>{kWindow.height, &Main::Height, &Main::SetHeight}},
    {"Font", "Size", IntegerKey<Main>{kStyle.pointSize, &Main::FontSize, &Main::SetFontSize}},
    {"Font", "Name", TextKey<Main>{kStyle.faceName, &Main::FaceName, &Main::SetFaceName}},
    {"Font", "Bold", BooleanKey<Main>{kStyle.bold, &Main::Bold, &Main::SetBold}},
    {"Font", "Italic", BooleanKey<Main>{kStyle.italic, &Main::Italic, &Main::SetItalic}},
    {"Font", "UnderLine",
     BooleanKey<Main>{kStyle.underline, &Main::Underline, &Main::SetUnderline}},
    {"Color", "DrawColor", ColorKey<Main>{kStyle.textColor, &Main::TextColor, &Main::SetTextColor}},
    {"Color", "BGColor",
     ColorKey<Main>{kStyle.backgroundColor, &Main::BackgroundColor, &Main::SetBackgroundColor}},
}};

// 256Color comes after TransParent, so it decides the final 256-colour flag;
// Alpha, which older files lack, comes last.
const std::array<SettingsKey<Export>, 4> kExportKeys = {{
    {"JPEG", "Rate",
     IntegerKey<Export>{kExport.jpegQuality, &Export::JpegQuality, &Export::SetJpegQuality}},
    {"PNG", "TransParent",
     BooleanKey<Export>{kExport.pngTransparent, &Export::PngTransparent,
                        &Export::SetPngTransparent}},
    {"PNG", "256Color",
     BooleanKey<Export>{kExport.png256Colors, &Export::Png256Colors, &Export::SetPng256Colors}},
    {"PNG", "Alpha", BooleanKey<Export>{kExport.pngAlpha, &Export::PngAlpha, &Export::SetPngAlpha}},
}};

// After every other section: a file from before the effects loads as it did.
using EffectFields = StructFields<CaptionEffect, EffectSettingsTarget,
                                  &EffectSettingsTarget::Effect, &EffectSettingsTarget::SetEffect>;
using E = CaptionEffect;

// The keys of the first border and shadow come first, as older files have them.
const std::array<SettingsKey<EffectFields>, 10> kEffectKeys = {{
    EffectFields::Ranged<&E::outlineWidth>("Effect", "OutlineWidth", 0, kMaxOutlineWidth),
    EffectFields::Coloured<&E::outlineColor>("Effect", "OutlineColor"),
    EffectFields::Ranged<&E::shadowX>("Effect", "ShadowX", -kMaxShadowOffset, kMaxShadowOffset),
    EffectFields::Ranged<&E::shadowY>("Effect", "ShadowY", -kMaxShadowOffset, kMaxShadowOffset),
    EffectFields::Coloured<&E::shadowColor>("Effect", "ShadowColor"),
    EffectFields::Ranged<&E::shadowBlur>("Effect", "ShadowBlur", 0, kMaxShadowBlur),
    EffectFields::Ranged<&E::outerOutlineWidth>("Effect", "OuterOutlineWidth", 0, kMaxOutlineWidth),
    EffectFields::Coloured<&E::outerOutlineColor>("Effect", "OuterOutlineColor"),
    EffectFields::Ranged<&E::gradient>("Effect", "Gradient", 0, 1),
    EffectFields::Coloured<&E::gradientColor>("Effect", "GradientColor"),
}};

using LayoutFields = StructFields<CaptionLayout, LayoutSettingsTarget,
                                  &LayoutSettingsTarget::Layout, &LayoutSettingsTarget::SetLayout>;
using L = CaptionLayout;
// Align is stored in the enumeration's order.
static_assert(static_cast<int>(TextAlign::Start) == 0 && static_cast<int>(TextAlign::Center) == 1 &&
              static_cast<int>(TextAlign::End) == 2);

// After [Effect], for the same reason.
const std::array<SettingsKey<LayoutFields>, 4> kLayoutKeys = {{
    LayoutFields::Ranged<&L::vertical>("Layout", "Vertical", 0, 1),
    LayoutFields::Ranged<&L::align>("Layout", "Align", 0, 2),
    LayoutFields::Ranged<&L::lineSpacing>("Layout", "LineSpacing", kMinLineSpacing,
                                          kMaxLineSpacing),
    LayoutFields::Ranged<&L::letterSpacing>("Layout", "LetterSpacing", kMinLetterSpacing,
                                            kMaxLetterSpacing),
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
  EffectFields fields(target);
  ApplySettings(ReadForLoading(path), std::span<const SettingsKey<EffectFields>>(kEffectKeys),
                fields, path);
}

void LoadLayoutSettings(const std::string& path, LayoutSettingsTarget& target) {
  LayoutFields fields(target);
  ApplySettings(ReadForLoading(path), std::span<const SettingsKey<LayoutFields>>(kLayoutKeys),
                fields, path);
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
  const EffectFields fields(source.Effect());
  Store(path, std::span<const SettingsKey<EffectFields>>(kEffectKeys), fields);
}

void StoreLayoutSettings(const std::string& path, const LayoutSettingsTarget& source) {
  const LayoutFields fields(source.Layout());
  Store(path, std::span<const SettingsKey<LayoutFields>>(kLayoutKeys), fields);
}

}  // namespace glyphary
