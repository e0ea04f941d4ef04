#include "settings/ini_document.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "io/io.h"
#include "settings/ini_line.h"
#include "settings/text_encoding.h"

namespace glyphary {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string KeyLine(std::string_view key, std::string_view value) {
  std::string text = ToValidUtf8(value);
  std::replace(text.begin(), text.end(), '\r', ' ');
  std::replace(text.begin(), text.end(), '\n', ' ');
  return std::string(key) + "=" + QuoteIniValue(text);
}

// The value a key line gives back, as Get reads it.
std::string ValueOf(const IniLine& line) {
  return std::string(FirstCharacters(UnquoteIniValue(line.value), kMaxIniValueCharacters));
}

std::string SectionLine(std::string_view section) {
  std::string line(1, '[');
  line += section;
  line += ']';
  return line;
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view bytes) {
  IniDocument doc;
  SettingsLineDecoder decoder;
  if (bytes.starts_with(kByteOrderMark)) {
    doc.byteOrderMark_ = true;
    bytes.remove_prefix(kByteOrderMark.size());
  }
  const auto firstBreak = bytes.find('\n');
  if (firstBreak != std::string_view::npos && firstBreak > 0 && bytes[firstBreak - 1] == '\r')
    doc.lineEnd_ = "\r\n";
  while (!bytes.empty()) {
    const auto lineBreak = bytes.find('\n');
    std::string_view line = bytes.substr(0, lineBreak);
    bytes.remove_prefix(lineBreak == std::string_view::npos ? bytes.size() : lineBreak + 1);
    if (doc.lineEnd_.size() == 2 && line.ends_with('\r')) line.remove_suffix(1);
    std::optional<std::string> decoded = decoder.Decode(line);
    if (decoded)
      doc.lines_.push_back({std::move(*decoded), std::string(line)});
    else
      doc.lines_.push_back({std::string(line), {}});
  }
  return doc;
}

std::optional<IniDocument::SectionRange> IniDocument::FindSection(std::string_view section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const IniLine line = ClassifyIniLine(TextAt(i));
    if (line.kind != IniLine::Kind::Section || !SameIgnoringAsciiCase(line.name, section)) continue;
    std::size_t end = i + 1;
    while (end < lines_.size() && ClassifyIniLine(TextAt(end)).kind != IniLine::Kind::Section)
      ++end;
    return SectionRange{i, end};
  }
  return std::nullopt;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
  const auto range = FindSection(section);
  if (!range) return std::nullopt;
  for (std::size_t i = range->header + 1; i < range->end; ++i) {
    const IniLine line = ClassifyIniLine(TextAt(i));
    if (line.kind == IniLine::Kind::Key && SameIgnoringAsciiCase(line.name, key))
      return ValueOf(line);
  }
  return std::nullopt;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  const auto range = FindSection(section);
  if (!range) {
    if (!lines_.empty() && !lines_.back().text.empty()) lines_.emplace_back();
    lines_.push_back({SectionLine(section), {}});
    lines_.push_back({KeyLine(key, value), {}});
    return;
  }
  std::size_t insertAt = range->header + 1;
  for (std::size_t i = range->header + 1; i < range->end; ++i) {
    const IniLine line = ClassifyIniLine(TextAt(i));
    if (line.kind != IniLine::Kind::Key) continue;
    if (SameIgnoringAsciiCase(line.name, key)) {
      // A line that would read the same stays as it was read, encoding and all.
      std::string updated = KeyLine(key, value);
      if (line.name != key || ValueOf(line) != ValueOf(ClassifyIniLine(updated)))
        lines_[i] = {std::move(updated), {}};
      return;
    }
    insertAt = i + 1;
  }
  lines_.insert(lines_.begin() + std::ptrdiff_t(insertAt), Line{KeyLine(key, value), {}});
}

std::string IniDocument::Serialize() const {
  std::string text(byteOrderMark_ ? kByteOrderMark : "");
  for (const Line& line : lines_) {
    text += line.bytes.empty() ? line.text : line.bytes;
    text += lineEnd_;
  }
  return text;
}

}  // namespace glyphary
