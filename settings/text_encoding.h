// Text encodings of the settings file: written as UTF-8, read as UTF-8 or,
// for files from Windows, as Shift-JIS (code page 932).
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace glyphary {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF;
// a NUL is valid. (ToValidUtf8, which repairs a text, is in io/io.h.)
bool IsValidUtf8(std::string_view text);

// Code page 932 to UTF-8; a byte sequence that is not CP932 becomes U+FFFD.
std::string Cp932ToUtf8(std::string_view text);

// Decodes a settings file one line at a time: a line that is valid UTF-8 is
// UTF-8, any other is CP932, so a stray byte garbles no line but its own.
// The converter is opened on the first line that needs it and kept.
class Cp932Converter;
class SettingsLineDecoder {
 public:
  SettingsLineDecoder();
  ~SettingsLineDecoder();

  // nullopt when the line is UTF-8 already, else its CP932 reading.
  std::optional<std::string> Decode(std::string_view line);

 private:
  std::unique_ptr<Cp932Converter> converter_;
};

// The file's bytes as UTF-8, each line decided on its own as above.
std::string DecodeSettingsText(std::string_view bytes);

// The first `count` characters (code points) of a valid UTF-8 text.
std::string_view FirstCharacters(std::string_view text, std::size_t count);

}  // namespace glyphary
