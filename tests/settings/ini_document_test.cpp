#include <gtest/gtest.h>

#include <string>

#include "settings/ini_document.h"
#include "settings/text_encoding.h"

namespace glyphary {
namespace {

TEST(IniDocument, NamesMatchWithoutRegardToCaseAndBlanksAroundAreIgnored) {
  const auto doc = IniDocument::Parse("[font]\n  SIZE =  26  \n[Color]\ndrawcolor=clRed\n");
  EXPECT_EQ(doc.Get("Font", "Size"), "26");
  EXPECT_EQ(doc.Get("COLOR", "DrawColor"), "clRed");
  EXPECT_EQ(doc.Get("Font", "DrawColor"), std::nullopt);
  EXPECT_EQ(doc.Get("Window", "Left"), std::nullopt);
}

TEST(IniDocument, FirstSectionAndFirstKeyWinAndKeysBeforeAnySectionAreIgnored) {
  const auto doc = IniDocument::Parse("Size=1\n[Font]\nSize=2\nSize=3\n[Font]\nSize=4\nBold=1\n");
  EXPECT_EQ(doc.Get("Font", "Size"), "2");
  EXPECT_EQ(doc.Get("Font", "Bold"), std::nullopt);
}

TEST(IniDocument, CommentsBlankAndMalformedLinesAreKeptAndNeverMatch) {
  const std::string text =
      "; head\n\n[Font]\n;Size=9\n# Size=8\nbroken line\n=orphan\n[Color\nSize=26\n\n"
      "Extra=keep me\n";
  auto doc = IniDocument::Parse(text);
  // "[Color" has no closing bracket, so its keys still belong to [Font].
  EXPECT_EQ(doc.Get("Font", "Size"), "26");
  EXPECT_EQ(doc.Serialize(), text);
  doc.Set("font", "Size", "30");
  EXPECT_EQ(doc.Serialize(),
            "; head\n\n[Font]\n;Size=9\n# Size=8\nbroken line\n=orphan\n[Color\nSize=30\n\n"
            "Extra=keep me\n");
}

TEST(IniDocument, NewKeyGoesAfterTheLastKeyOfItsSectionNewSectionAtTheEnd) {
  auto doc = IniDocument::Parse("[Font]\nSize=25\n\n; colours follow\n[Color]\nBGColor=clWhite");
  doc.Set("Font", "Bold", "1");
  doc.Set("PNG", "256Color", "0");
  doc.Set("Color", "DrawColor", "clRed");
  EXPECT_EQ(doc.Serialize(),
            "[Font]\nSize=25\nBold=1\n\n; colours follow\n[Color]\nBGColor=clWhite\n"
            "DrawColor=clRed\n\n[PNG]\n256Color=0\n");
}

TEST(IniDocument, KeyIntoAnEmptySectionFollowsItsHeader) {
  auto doc = IniDocument::Parse("[JPEG]\n; nothing yet\n[PNG]\n");
  doc.Set("jpeg", "Rate", "70");
  EXPECT_EQ(doc.Serialize(), "[JPEG]\nRate=70\n; nothing yet\n[PNG]\n");
}

TEST(IniDocument, WindowsLineEndsAndByteOrderMarkSurviveAnUpdate) {
  auto doc = IniDocument::Parse("\xEF\xBB\xBF[Font]\r\nSize=25\r\nName=x\r\n");
  EXPECT_EQ(doc.Get("Font", "Size"), "25");
  EXPECT_EQ(doc.Get("Font", "Name"), "x");
  doc.Set("Font", "Bold", "1");
  EXPECT_EQ(doc.Serialize(), "\xEF\xBB\xBF[Font]\r\nSize=25\r\nName=x\r\nBold=1\r\n");
}

TEST(IniDocument, ValuesReadBackExactlyAsWritten) {
  for (const std::string value : {"", " lead", "trail\t", "\"quoted\"", "'single'", "a = b", "\"",
                                  "; not a comment", "ＭＳ Ｐゴシック", "[x]"}) {
    auto doc = IniDocument::Parse(IniDocument().Serialize());
    doc.Set("Font", "Name", value);
    EXPECT_EQ(IniDocument::Parse(doc.Serialize()).Get("Font", "Name"), value) << value;
  }
}

TEST(IniDocument, QuotedValuesFromHandEditedFilesAreUnquoted) {
  const auto doc = IniDocument::Parse("[Font]\nName=\" Arial \"\nSize='26'\nBold=\"1\n");
  EXPECT_EQ(doc.Get("Font", "Name"), " Arial ");
  EXPECT_EQ(doc.Get("Font", "Size"), "26");
  EXPECT_EQ(doc.Get("Font", "Bold"), "\"1");
}

TEST(IniDocument, LineBreaksInAValueCannotInjectKeys) {
  auto doc = IniDocument::Parse("");
  doc.Set("Font", "Name", "evil\n[Color]\r\nDrawColor=clRed");
  const auto reread = IniDocument::Parse(doc.Serialize());
  EXPECT_EQ(reread.Get("Font", "Name"), "evil [Color]  DrawColor=clRed");
  EXPECT_EQ(reread.Get("Color", "DrawColor"), std::nullopt);
  EXPECT_EQ(reread.LineCount(), 2u);
}

TEST(IniDocument, ValuesAreCutAt2047Characters) {
  std::string ascii(3000, 'a');
  std::string kana;
  for (int i = 0; i < 2100; ++i) kana += "あ";  // three bytes each
  auto doc = IniDocument::Parse("[Font]\nName=" + ascii + "\nKana=" + kana + "\n");
  EXPECT_EQ(doc.Get("Font", "Name"), std::string(2047, 'a'));
  const auto cut = doc.Get("Font", "Kana");
  ASSERT_TRUE(cut);
  EXPECT_EQ(cut->size(), 2047u * 3);
  EXPECT_TRUE(IsValidUtf8(*cut));
}

TEST(IniDocument, InvalidUtf8InAWrittenValueBecomesReplacementCharacters) {
  auto doc = IniDocument::Parse("");
  doc.Set("Font", "Name",
          "a\xFF"
          "b");
  EXPECT_TRUE(IsValidUtf8(doc.Serialize()));
  EXPECT_EQ(doc.Get("Font", "Name"),
            "a\xEF\xBF\xBD"
            "b");
}

TEST(TextEncoding, Utf8IsCheckedStrictly) {
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("plain ASCII"));
  EXPECT_TRUE(IsValidUtf8("ＭＳ 明朝 \xF0\x9F\x98\x80"));
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong "/"
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\xE3\x81"));          // cut short
  EXPECT_FALSE(IsValidUtf8("\x82\x6C\x82\x72"));  // "ＭＳ" in CP932
}

TEST(TextEncoding, Utf8StaysAndBadShiftJisBytesAreMarked) {
  EXPECT_EQ(DecodeSettingsText("ＭＳ 明朝"), "ＭＳ 明朝");  // UTF-8 stays as it is
  EXPECT_EQ(Cp932ToUtf8("a\x80"
                        "b\x82"),
            "a\xEF\xBF\xBD"
            "b\xEF\xBF\xBD");
  EXPECT_EQ(Cp932ToUtf8("\x5C\x7E"), "\\~");  // CP932 keeps ASCII as it is
}

}  // namespace
}  // namespace glyphary
