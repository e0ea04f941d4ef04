#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "settings/settings.h"
#include "settings/text_forms.h"

namespace glyphary {
namespace {

using std::nullopt;

TEST(ParseIniInteger, ReadsDecimalWithSignAndLeadingBlanks) {
  EXPECT_EQ(ParseIniInteger("26"), 26);
  EXPECT_EQ(ParseIniInteger("  -7"), -7);
  EXPECT_EQ(ParseIniInteger("+0012"), 12);
  EXPECT_EQ(ParseIniInteger("2147483647"), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(ParseIniInteger("-2147483648"), std::numeric_limits<std::int32_t>::min());
}

TEST(ParseIniInteger, ReadsEveryHexPrefix) {
  EXPECT_EQ(ParseIniInteger("0x1A"), 26);
  EXPECT_EQ(ParseIniInteger("0X1a"), 26);
  EXPECT_EQ(ParseIniInteger("$1A"), 26);
  EXPECT_EQ(ParseIniInteger("x1A"), 26);
  EXPECT_EQ(ParseIniInteger("X1A"), 26);
  EXPECT_EQ(ParseIniInteger(" -0x10"), -16);
  EXPECT_EQ(ParseIniInteger("-$10"), -16);
  EXPECT_EQ(ParseIniInteger("$000000FF"), 255);
}

TEST(ParseIniInteger, HexIsAThirtyTwoBitPattern) {
  EXPECT_EQ(ParseIniInteger("$FFFFFFFF"), -1);
  EXPECT_EQ(ParseIniInteger("$80000008"), std::int32_t(0x80000008u));
  EXPECT_EQ(ParseIniInteger("$0000000FFFFFFFF"), -1);  // leading zeros do not count
  EXPECT_EQ(ParseIniInteger("$100000000"), nullopt);
}

TEST(ParseIniInteger, RejectsAnythingNotUsedUpOrOutOfRange) {
  for (const char* text :
       {"", " ", "abc", "-", "+", "$", "0x", "x", "12 ", "1.5", "1e3", "--1", "0x-1", "$G",
        "2147483648", "-2147483649", "99999999999999999999", "１２", "1\n"})
    EXPECT_EQ(ParseIniInteger(text), nullopt) << '"' << text << '"';
}

TEST(ColorText, NamesReadInAnyCaseAndIntegersInEveryForm) {
  EXPECT_EQ(ParseColor("CLRED"), 0x000000FFu);
  EXPECT_EQ(ParseColor("-1"), 0xFFFFFFFFu);
  EXPECT_EQ(ParseColor("clbtnface"), 0x8000000Fu);
  EXPECT_EQ(ParseColor("cl3ddkshadow"), 0x80000015u);
  EXPECT_EQ(ParseColor("clNone"), 0x1FFFFFFFu);
}

TEST(ColorText, RejectsUnknownNamesAndPartialMatches) {
  for (const char* text : {"", "red", "clRedd", "clRe", " clRed", "clRed ", "$", "clＲed"})
    EXPECT_EQ(ParseColor(text), nullopt) << '"' << text << '"';
}

// #RRGGBB holds red first; a TColor holds it in its lowest byte.
TEST(ColorText, TypedColoursTakeRgbHexBesideNamesAndIntegers) {
  const struct {
    const char* text;
    std::optional<TColor> color;
  } cases[] = {
      {"#FF8000", 0x000080FFu},   {"#ff8000", 0x000080FFu}, {"#12AbEf", 0x00EFAB12u},
      {"#000000", 0x00000000u},   {"#FFFFFF", 0x00FFFFFFu}, {"CLNAVY", 0x00800000u},
      {"$000000FF", 0x000000FFu}, {"255", 0x000000FFu},     {"-1", 0xFFFFFFFFu},
      {"#GG0000", nullopt},       {"#12345", nullopt},      {"#1234567", nullopt},
      {"#+12345", nullopt},       {"# 12345", nullopt},     {"#$12345", nullopt},
      {"FF8000", nullopt},        {"#", nullopt},           {"", nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseColorText(c.text), c.color) << '"' << c.text << '"';
}

TEST(ColorText, WritesNamesElseEightUpperCaseHexDigits) {
  EXPECT_EQ(ColorToText(0x000000FF), "clRed");
  EXPECT_EQ(ColorToText(0x00FFFFFF), "clWhite");
  EXPECT_EQ(ColorToText(0x00000000), "clBlack");
  EXPECT_EQ(ColorToText(0x20000000), "clDefault");
  EXPECT_EQ(ColorToText(0x80000018), "clInfoBk");
  EXPECT_EQ(ColorToText(0x00FF8000), "$00FF8000");
  EXPECT_EQ(ColorToText(0x00abcdef), "$00ABCDEF");
  EXPECT_EQ(ColorToText(0x80000008), "$80000008");
  EXPECT_EQ(ColorToText(0xFFFFFFFF), "$FFFFFFFF");
}

TEST(ColorText, EveryNameAndEverySystemColourRoundTrips) {
  int named = 0;
  for (std::uint32_t n = 0; n < 32; ++n) {
    const TColor system = 0x80000000u | n;
    EXPECT_EQ(ParseColor(ColorToText(system)), system) << n;
    if (ColorToText(system)[0] == 'c') ++named;
  }
  EXPECT_EQ(named, 26);  // 8, 25, 26, 29, 30 and 31 have no name
  for (TColor c : {0x00000000u, 0x00000080u, 0x00C0DCC0u, 0x00F0CAA6u, 0x00F0FBFFu, 0x00A4A0A0u,
                   0x1FFFFFFFu, 0x12345678u, 0x80000008u, 0xFFFFFFFFu}) {
    EXPECT_EQ(ParseColor(ColorToText(c)), c) << ColorToText(c);
  }
}

}  // namespace
}  // namespace glyphary
