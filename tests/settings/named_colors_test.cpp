#include <gtest/gtest.h>

#include <string>

#include "settings/settings.h"
#include "settings/text_forms.h"

namespace glyphary {
namespace {

struct Named {
  const char* name;
  TColor value;
};

// The values every Windows user of the colour names knows, 0x00BBGGRR.
constexpr Named kExplicit[] = {
    {"clBlack", 0x00000000},   {"clMaroon", 0x00000080},     {"clGreen", 0x00008000},
    {"clOlive", 0x00008080},   {"clNavy", 0x00800000},       {"clPurple", 0x00800080},
    {"clTeal", 0x00808000},    {"clGray", 0x00808080},       {"clSilver", 0x00C0C0C0},
    {"clRed", 0x000000FF},     {"clLime", 0x0000FF00},       {"clYellow", 0x0000FFFF},
    {"clBlue", 0x00FF0000},    {"clFuchsia", 0x00FF00FF},    {"clAqua", 0x00FFFF00},
    {"clWhite", 0x00FFFFFF},   {"clMoneyGreen", 0x00C0DCC0}, {"clSkyBlue", 0x00F0CAA6},
    {"clCream", 0x00F0FBFF},   {"clMedGray", 0x00A4A0A0},    {"clNone", 0x1FFFFFFF},
    {"clDefault", 0x20000000},
};

// System colours: 0x80000000 plus the platform's number.
constexpr Named kSystem[] = {
    {"clScrollBar", 0},
    {"clBackground", 1},
    {"clActiveCaption", 2},
    {"clInactiveCaption", 3},
    {"clMenu", 4},
    {"clWindow", 5},
    {"clWindowFrame", 6},
    {"clMenuText", 7},
    {"clCaptionText", 9},
    {"clActiveBorder", 10},
    {"clInactiveBorder", 11},
    {"clAppWorkSpace", 12},
    {"clHighlight", 13},
    {"clHighlightText", 14},
    {"clBtnFace", 15},
    {"clBtnShadow", 16},
    {"clGrayText", 17},
    {"clBtnText", 18},
    {"clInactiveCaptionText", 19},
    {"clBtnHighlight", 20},
    {"cl3DDkShadow", 21},
    {"cl3DLight", 22},
    {"clInfoText", 23},
    {"clInfoBk", 24},
    {"clGradientActiveCaption", 27},
    {"clGradientInactiveCaption", 28},
};

void ExpectNamed(const std::string& name, TColor value) {
  EXPECT_EQ(ParseColor(name), value) << name;
  std::string lower = name;
  for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(ParseColor(lower), value) << lower;
  EXPECT_EQ(ColorToText(value), name);
}

TEST(NamedColors, HaveTheirWindowsValuesBothWays) {
  for (const Named& c : kExplicit) ExpectNamed(c.name, c.value);
  for (const Named& c : kSystem) ExpectNamed(c.name, 0x80000000u | c.value);
  EXPECT_EQ(ColorToText(0x80000008), "$80000008");  // system colour 8 has no name
}

}  // namespace
}  // namespace glyphary
