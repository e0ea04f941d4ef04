#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "io/io.h"
#include "settings/settings.h"
#include "settings/text_forms.h"

namespace glyphary {
namespace {

struct NamedColor {
  std::string_view name;
  TColor value;
};

constexpr TColor System(TColor number) {
  return 0x80000000u | number;
}

// Every name maps to one value and back; system colour 8 has no name and is
// written as $80000008.
constexpr std::array<NamedColor, 48> kNamedColors = {{
    {"clBlack", 0x00000000},
    {"clMaroon", 0x00000080},
    {"clGreen", 0x00008000},
    {"clOlive", 0x00008080},
    {"clNavy", 0x00800000},
    {"clPurple", 0x00800080},
    {"clTeal", 0x00808000},
    {"clGray", 0x00808080},
    {"clSilver", 0x00C0C0C0},
    {"clRed", 0x000000FF},
    {"clLime", 0x0000FF00},
    {"clYellow", 0x0000FFFF},
    {"clBlue", 0x00FF0000},
    {"clFuchsia", 0x00FF00FF},
    {"clAqua", 0x00FFFF00},
    {"clWhite", 0x00FFFFFF},
    {"clMoneyGreen", 0x00C0DCC0},
    {"clSkyBlue", 0x00F0CAA6},
    {"clCream", 0x00F0FBFF},
    {"clMedGray", 0x00A4A0A0},
    {"clNone", 0x1FFFFFFF},
    {"clDefault", 0x20000000},
    {"clScrollBar", System(0)},
    {"clBackground", System(1)},
    {"clActiveCaption", System(2)},
    {"clInactiveCaption", System(3)},
    {"clMenu", System(4)},
    {"clWindow", System(5)},
    {"clWindowFrame", System(6)},
    {"clMenuText", System(7)},
    {"clCaptionText", System(9)},
    {"clActiveBorder", System(10)},
    {"clInactiveBorder", System(11)},
    {"clAppWorkSpace", System(12)},
    {"clHighlight", System(13)},
    {"clHighlightText", System(14)},
    {"clBtnFace", System(15)},
    {"clBtnShadow", System(16)},
    {"clGrayText", System(17)},
    {"clBtnText", System(18)},
    {"clInactiveCaptionText", System(19)},
    {"clBtnHighlight", System(20)},
    {"cl3DDkShadow", System(21)},
    {"cl3DLight", System(22)},
    {"clInfoText", System(23)},
    {"clInfoBk", System(24)},
    {"clGradientActiveCaption", System(27)},
    {"clGradientInactiveCaption", System(28)},
}};

}  // namespace

std::string ColorToText(TColor color) {
  for (const auto& named : kNamedColors)
    if (named.value == color) return std::string(named.name);
  char text[16];
  std::snprintf(text, sizeof text, "$%08X", unsigned(color));
  return text;
}

std::optional<TColor> ParseColor(std::string_view text) {
  for (const auto& named : kNamedColors)
    if (SameIgnoringAsciiCase(named.name, text)) return named.value;
  if (const auto value = ParseIniInteger(text)) return TColor(std::uint32_t(*value));
  return std::nullopt;
}

std::optional<TColor> ParseColorText(std::string_view text) {
  if (text.size() != 7 || text.front() != '#') return ParseColor(text);
  // Read as the hex integer "$RRGGBB", which takes nothing but the digits after "$".
  std::string hex(1, '$');
  hex += text.substr(1);
  const auto rgb = ParseIniInteger(hex);
  if (!rgb) return std::nullopt;
  return Rgb(std::uint8_t(*rgb >> 16), std::uint8_t(*rgb >> 8), std::uint8_t(*rgb));
}

}  // namespace glyphary
