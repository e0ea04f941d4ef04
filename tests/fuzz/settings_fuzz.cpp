// Fuzzes the settings file reader and the integer and colour parsers: no
// input may crash them, and what they read must survive being written back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/ini_document.h"
#include "settings/plain_settings.h"
#include "settings/settings.h"
#include "settings/settings_keys.h"
#include "settings/text_encoding.h"

namespace glyphary {
namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckTextForms(std::string_view text) {
  if (const auto value = ParseIniInteger(text))
    Check(ParseIniInteger(std::to_string(*value)) == value);
  if (const auto color = ParseColor(text)) Check(ParseColor(ColorToText(*color)) == color);
}

// The document reads back what it writes, and updates leave other keys alone.
void CheckDocument(std::string_view bytes) {
  const std::string text = DecodeSettingsText(bytes);
  Check(IsValidUtf8(text));
  IniDocument doc = IniDocument::Parse(bytes);
  const std::string once = doc.Serialize();
  Check(IniDocument::Parse(once).Serialize() == once);

  const auto sizeBefore = doc.Get("Font", "Size");
  const std::string value(FirstCharacters(text, 64));
  doc.Set("Font", "Name", value);
  doc.Set("Fuzz", "Key", value);
  const IniDocument reread = IniDocument::Parse(doc.Serialize());
  std::string expected = ToValidUtf8(value);
  for (char& c : expected)
    if (c == '\r' || c == '\n') c = ' ';
  Check(reread.Get("Font", "Name") == expected);
  Check(reread.Get("Fuzz", "Key") == expected);
  Check(reread.Get("Font", "Size") == sizeBefore);
}

// Every key of both tables applied to plain targets, as a start-up does.
void CheckLoad(std::string_view bytes) {
  const IniDocument doc = IniDocument::Parse(bytes);
  CaptionSettings settings;
  PlainMainSettings main(settings.window, settings.style);
  PlainExportSettings exportOptions(settings.exportOptions);
  try {
    ApplySettings(doc, MainSettingsKeys(), static_cast<MainSettingsTarget&>(main));
  } catch (const Error&) {
  }
  ApplySettings(doc, ExportSettingsKeys(), static_cast<ExportSettingsTarget&>(exportOptions));
  Check(settings.exportOptions.jpegQuality >= 10 && settings.exportOptions.jpegQuality <= 100);
  Check(settings.window.width == kMainWindowWidth);
}

}  // namespace
}  // namespace glyphary

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  glyphary::CheckTextForms(bytes);
  glyphary::CheckDocument(bytes);
  glyphary::CheckLoad(bytes);
  return 0;
}
