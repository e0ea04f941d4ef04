// The text helpers every folder shares: letter case folded for ASCII alone,
// whatever the locale, and text made valid UTF-8 byte by byte.
#include <gtest/gtest.h>

#include <cctype>
#include <clocale>
#include <cstdlib>
#include <string>

#include "io/io.h"
#include "test_support.h"

namespace glyphary {
namespace {

// Turkish in ISO-8859-9, where the C library folds 'I' to a dotless i (0xFD)
// and İ (0xDD) to 'i'; built with localedef into a folder of its own, as
// few systems have it ready. Active() is false where it cannot be built.
class TurkishLocale {
 public:
  TurkishLocale() {
    const std::string command =
        "localedef -i tr_TR -f ISO-8859-9 " + dir_.File(kName) + " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return;
    ::setenv("LOCPATH", dir_.Path().c_str(), 1);
    active_ = std::setlocale(LC_CTYPE, kName) != nullptr;
  }
  ~TurkishLocale() {
    std::setlocale(LC_CTYPE, "C");
    ::unsetenv("LOCPATH");
  }
  bool Active() const { return active_; }

 private:
  static constexpr char kName[] = "tr_TR.ISO-8859-9";
  TempDir dir_;
  bool active_ = false;
};

TEST(SameIgnoringAsciiCase, FoldsAsciiLettersAloneUnderATurkishLocale) {
  const TurkishLocale turkish;
  if (!turkish.Active()) GTEST_SKIP() << "localedef cannot build tr_TR.ISO-8859-9";
  ASSERT_NE(std::tolower('I'), 'i') << "the locale folds as Turkish does";
  const struct {
    const char *a, *b;
    bool same;
  } cases[] = {
      {"I", "i", true},
      {"clWHITE", "clwhite", true},
      {".JPEG", ".jpeg", true},
      {"\xDD", "i", false},
      {"\xDD", "I", false},
      {"\xC9", "\xE9", false},
      {"\xC3\x89", "\xE3\x89", false},  // UTF-8 É against a lead byte Latin-5 would fold it to
      {"abc", "ab", false},
      {"", "", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SameIgnoringAsciiCase(c.a, c.b), c.same) << '"' << c.a << "\" \"" << c.b << '"';
}

TEST(ToValidUtf8, ReplacesEachBadByteAndEachNul) {
  const std::string r = "\xEF\xBF\xBD";  // U+FFFD
  const struct {
    std::string text, valid;
  } cases[] = {
      {"ＭＳ 明朝 \xF0\x9F\x98\x80", "ＭＳ 明朝 \xF0\x9F\x98\x80"},
      {"a\x80z", "a" + r + "z"},
      {"\xE3\x81", r + r},          // cut short
      {"\xC0\xAF", r + r},          // overlong "/"
      {"\xED\xA0\x80", r + r + r},  // surrogate
      {std::string("a\0z", 3), "a" + r + "z"},
  };
  for (const auto& c : cases) EXPECT_EQ(ToValidUtf8(c.text), c.valid) << c.text;
}

}  // namespace
}  // namespace glyphary
