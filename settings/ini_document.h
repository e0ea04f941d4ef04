// A line-preserving INI document: lookups and updates touch only the lines
// they concern, so comments, blank lines, unknown keys and lines we cannot
// parse stay exactly where they were.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glyphary {

// Values longer than this are cut when read.
inline constexpr std::size_t kMaxIniValueCharacters = 2047;

class IniDocument {
 public:
  IniDocument() = default;
  // The file's bytes, each line read as UTF-8 when it is valid UTF-8, else as
  // CP932; a leading byte-order mark and CRLF line ends are kept.
  static IniDocument Parse(std::string_view bytes);

  // The value of the first matching key in the first matching section (names
  // match without regard to ASCII letter case): blanks around it removed, one
  // pair of enclosing quotes removed, cut to kMaxIniValueCharacters.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;

  // Replaces the key's line where it stands, else adds the key after the last
  // key of its section, else adds the section at the end. The value is
  // written so that Get returns it unchanged (cut to the read limit); line
  // breaks in it become blanks, since a value is one line.
  void Set(std::string_view section, std::string_view key, std::string_view value);

  // Lines that were not changed come out as they were read, whatever their
  // encoding; changed and new lines in UTF-8.
  std::string Serialize() const;
  std::size_t LineCount() const noexcept { return lines_.size(); }

 private:
  struct SectionRange {
    std::size_t header, end;  // end: the next section's header or the line count
  };
  std::optional<SectionRange> FindSection(std::string_view section) const;

  struct Line {
    std::string text;   // UTF-8, what lookups see
    std::string bytes;  // as read, kept only where they differ from text
  };
  const std::string& TextAt(std::size_t i) const { return lines_[i].text; }

  std::vector<Line> lines_;
  std::string lineEnd_ = "\n";
  bool byteOrderMark_ = false;
};

}  // namespace glyphary
