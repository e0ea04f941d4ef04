#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "export/export.h"

namespace glyphary {
namespace {

std::optional<BatchProblem> Check(const std::vector<BatchRow>& rows,
                                  std::string_view folder = "/tmp/out") {
  return CheckBatchRows(rows, folder);
}

void ExpectProblem(const std::vector<BatchRow>& rows, BatchFault fault, std::size_t row) {
  const auto problem = Check(rows);
  ASSERT_TRUE(problem.has_value());
  EXPECT_EQ(problem->fault, fault);
  EXPECT_EQ(problem->row, row);
}

TEST(BatchCheck, BlankAndUsedRowsPassAndNothingIsTrimmed) {
  EXPECT_FALSE(Check({}));
  EXPECT_FALSE(Check({{"", ""}, {"a", "b"}, {"", ""}}));
  EXPECT_FALSE(Check({{" ", " "}, {"x", "  "}}));  // spaces are contents, and differ
}

TEST(BatchCheck, TheFirstIncompleteRowIsReportedBeforeDuplicatesAndCharacters) {
  ExpectProblem({{"a", "n"}, {"text", ""}, {"", "x"}, {"b", "n"}, {"c", "a/b"}},
                BatchFault::Incomplete, 1);
  ExpectProblem({{"", "only a name"}}, BatchFault::Incomplete, 0);
}

TEST(BatchCheck, DuplicatesAreByteExactAndComeBeforeCharacters) {
  EXPECT_FALSE(Check({{"a", "Title"}, {"", ""}, {"b", "title"}}));
  EXPECT_FALSE(Check({{"a", "name"}, {"b", "name "}}));
  ExpectProblem({{"a", "x/y"}, {"b", "名前"}, {"c", "名前"}}, BatchFault::DuplicateName, 2);
}

TEST(BatchCheck, RefusesTheSevenCharactersAnywhereInAName) {
  for (const char* name : {"a/b", "あ/", "a\\b", "c:", "q?", "<x", "x>", "|", "表\\"}) {
    SCOPED_TRACE(name);
    ExpectProblem({{"ok", "fine"}, {"t", name}}, BatchFault::ForbiddenCharacter, 1);
  }
}

TEST(BatchCheck, AcceptsMultibyteNamesAndOtherPunctuation) {
  // 表 is 0x955C in Shift-JIS: its second byte is a backslash there, never in UTF-8.
  EXPECT_FALSE(Check({{"a", "表"}, {"b", "ソ能"}, {"c", "*star*"}, {"d", "say \"hi\""}}));
}

// A NUL ends the path where the file system reads it: "a<NUL>x" and
// "a<NUL>y" would both write "a", the second over the first.
TEST(BatchCheck, RefusesANulInATextOrNameAfterTheOtherRowChecks) {
  using namespace std::string_literals;
  ExpectProblem({{"a", "a\0x"s}, {"b", "a\0y"s}}, BatchFault::NulCharacter, 0);
  ExpectProblem({{"ok", "n"}, {"cut\0text"s, "m"}}, BatchFault::NulCharacter, 1);
  ExpectProblem({{"a", "a\0x"s}, {"b", "c/d"}}, BatchFault::ForbiddenCharacter, 1);
}

// An empty folder would put the files at the root of the file system.
TEST(BatchCheck, TheFolderMustBeGivenAndHoldNoNulAndIsCheckedLast) {
  using namespace std::string_literals;
  const auto empty = Check({{"a", "b"}}, "");
  ASSERT_TRUE(empty.has_value());
  EXPECT_EQ(empty->fault, BatchFault::NoFolder);
  EXPECT_FALSE(empty->row.has_value());
  const auto nul = Check({{"a", "b"}}, "/tmp\0/etc"s);
  ASSERT_TRUE(nul.has_value());
  EXPECT_EQ(nul->fault, BatchFault::NulInFolder);
  ExpectProblem({{"a", ""}}, BatchFault::Incomplete, 0);
  EXPECT_EQ(Check({{"a", ""}}, "")->fault, BatchFault::Incomplete);
  EXPECT_FALSE(Check({}, "."));
}

// Spaces alone would name a folder of spaces; a folder with spaces in it is
// taken as typed.
TEST(BatchCheck, AFolderOfNothingButSpacesIsRefusedLikeAnEmptyOne) {
  for (const char* folder : {" ", "    ", "\t", "\u3000", " \u3000 \t"}) {
    SCOPED_TRACE(folder);
    const auto problem = Check({{"a", "b"}}, folder);
    ASSERT_TRUE(problem.has_value());
    EXPECT_EQ(problem->fault, BatchFault::NoFolder);
  }
  for (const char* folder : {" out", "out ", "/tmp/ ", "\u3000字幕"})
    EXPECT_FALSE(Check({}, folder));
}

TEST(BatchCheck, MessagesAreTheOnesTheUserSees) {
  EXPECT_STREQ(BatchFaultMessage(BatchFault::Incomplete), "正しく入力されていない項目があります");
  EXPECT_STREQ(BatchFaultMessage(BatchFault::DuplicateName), "ファイル名に重複があります");
  EXPECT_STREQ(BatchFaultMessage(BatchFault::ForbiddenCharacter),
               "ファイル名に \\ / : ? < > | は使えません");
  EXPECT_STREQ(BatchFaultMessage(BatchFault::NoFolder), "保存場所を入力してください");
  EXPECT_STREQ(BatchFaultMessage(BatchFault::NulInFolder), "保存場所に NUL 文字は使えません");
}

}  // namespace
}  // namespace glyphary
