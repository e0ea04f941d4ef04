#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "settings/ini_file.h"
#include "settings/settings.h"
#include "settings/settings_keys.h"

namespace glyphary {
namespace {

using Main = MainSettingsTarget;
using Export = ExportSettingsTarget;
using Effect = EffectSettingsTarget;

// A missing key reads as the plain values' own default.
const WindowPlacement kWindow;
const CaptionStyle kStyle;
const ExportOptions kExport;
const CaptionEffect kEffect;
const CaptionLayout kLayout;

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
const std::array<SettingsKey<Effect>, 6> kEffectKeys = {{
    {"Effect", "OutlineWidth",
     RangedKey<Effect>{kEffect.outlineWidth, 0, kMaxOutlineWidth, &Effect::OutlineWidth,
                       &Effect::SetOutlineWidth}},
    {"Effect", "OutlineColor",
     ColorKey<Effect>{kEffect.outlineColor, &Effect::OutlineColor, &Effect::SetOutlineColor}},
    {"Effect", "ShadowX",
     RangedKey<Effect>{kEffect.shadowX, -kMaxShadowOffset, kMaxShadowOffset, &Effect::ShadowX,
                       &Effect::SetShadowX}},
    {"Effect", "ShadowY",
     RangedKey<Effect>{kEffect.shadowY, -kMaxShadowOffset, kMaxShadowOffset, &Effect::ShadowY,
                       &Effect::SetShadowY}},
    {"Effect", "ShadowColor",
     ColorKey<Effect>{kEffect.shadowColor, &Effect::ShadowColor, &Effect::SetShadowColor}},
    {"Effect", "ShadowBlur",
     RangedKey<Effect>{kEffect.shadowBlur, 0, kMaxShadowBlur, &Effect::ShadowBlur,
                       &Effect::SetShadowBlur}},
}};

// The [Layout] keys as fields of a layout: each one read is handed to the
// target at once, so a load that stops at a bad key keeps those before it.
class LayoutFields {
 public:
  explicit LayoutFields(LayoutSettingsTarget& target)
      : layout_(target.Layout()), target_(&target) {}
  explicit LayoutFields(const CaptionLayout& layout) : layout_(layout) {}

  std::int32_t Vertical() const { return layout_.vertical ? 1 : 0; }
  void SetVertical(std::int32_t on) { Change(layout_.vertical, on != 0); }
  // Stored in the enumeration's order.
  std::int32_t Align() const { return static_cast<std::int32_t>(layout_.align); }
  void SetAlign(std::int32_t align) { Change(layout_.align, static_cast<TextAlign>(align)); }
  std::int32_t LineSpacing() const { return layout_.lineSpacing; }
  void SetLineSpacing(std::int32_t percent) { Change(layout_.lineSpacing, percent); }
  std::int32_t LetterSpacing() const { return layout_.letterSpacing; }
  void SetLetterSpacing(std::int32_t pixels) { Change(layout_.letterSpacing, pixels); }

 private:
  template <typename T>
  void Change(T& field, T value) {
    field = value;
    if (target_) target_->SetLayout(layout_);
  }

  CaptionLayout layout_;
  LayoutSettingsTarget* target_ = nullptr;
};
static_assert(static_cast<int>(TextAlign::Start) == 0 && static_cast<int>(TextAlign::Center) == 1 &&
              static_cast<int>(TextAlign::End) == 2);

// After [Effect], for the same reason.
const std::array<SettingsKey<LayoutFields>, 4> kLayoutKeys = {{
    {"Layout", "Vertical",
     RangedKey<LayoutFields>{kLayout.vertical ? 1 : 0, 0, 1, &LayoutFields::Vertical,
                             &LayoutFields::SetVertical}},
    {"Layout", "Align",
     RangedKey<LayoutFields>{static_cast<std::int32_t>(kLayout.align), 0, 2, &LayoutFields::Align,
                             &LayoutFields::SetAlign}},
    {"Layout", "LineSpacing",
     RangedKey<LayoutFields>{kLayout.lineSpacing, kMinLineSpacing, kMaxLineSpacing,
                             &LayoutFields::LineSpacing, &LayoutFields::SetLineSpacing}},
    {"Layout", "LetterSpacing",
     RangedKey<LayoutFields>{kLayout.letterSpacing, kMinLetterSpacing, kMaxLetterSpacing,
                             &LayoutFields::LetterSpacing, &LayoutFields::SetLetterSpacing}},
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
  Store(path, EffectSettingsKeys(), source);
}

void StoreLayoutSettings(const std::string& path, const LayoutSettingsTarget& source) {
  const LayoutFields fields(source.Layout());
  Store(path, std::span<const SettingsKey<LayoutFields>>(kLayoutKeys), fields);
}

}  // namespace glyphary
