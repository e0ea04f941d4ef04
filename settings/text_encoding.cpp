#include "settings/text_encoding.h"

#include <glib.h>
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

#include "io/io.h"

namespace glyphary {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

iconv_t OpenCp932() {
  const iconv_t cd = ::iconv_open("UTF-8", "CP932");
  if (cd == iconv_t(-1)) throw Error("CP932 conversion is not available");
  return cd;
}

}  // namespace

// A CP932 to UTF-8 converter, closed with its owner.
class Cp932Converter {
 public:
  Cp932Converter() : cd_(OpenCp932()) {}

  std::string Convert(std::string_view text) {
    std::string out;
    char buffer[1024];
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    while (inLeft > 0) {
      char* outPtr = buffer;
      std::size_t outLeft = sizeof buffer;
      const std::size_t rc = ::iconv(cd_.get(), &in, &inLeft, &outPtr, &outLeft);
      const int err = errno;
      out.append(buffer, std::size_t(outPtr - buffer));
      if (rc != std::size_t(-1) || err == E2BIG) continue;
      // EILSEQ or a sequence cut off at the end: mark one byte and go on.
      out += kReplacement;
      ++in;
      --inLeft;
      Reset();
    }
    Reset();
    return out;
  }

 private:
  void Reset() { ::iconv(cd_.get(), nullptr, nullptr, nullptr, nullptr); }

  struct Close {
    void operator()(iconv_t cd) const noexcept { ::iconv_close(cd); }
  };
  std::unique_ptr<std::remove_pointer_t<iconv_t>, Close> cd_;
};

// GLib refuses a NUL inside a text of known length; here it is a character
// like any other, so that a line holding one is not read as CP932.
bool IsValidUtf8(std::string_view text) {
  const gchar* end = nullptr;
  while (!g_utf8_validate_len(text.data(), text.size(), &end)) {
    if (*end != '\0') return false;
    text.remove_prefix(std::size_t(end - text.data()) + 1);
  }
  return true;
}

std::string Cp932ToUtf8(std::string_view text) {
  return Cp932Converter().Convert(text);
}

SettingsLineDecoder::SettingsLineDecoder() = default;
SettingsLineDecoder::~SettingsLineDecoder() = default;

std::optional<std::string> SettingsLineDecoder::Decode(std::string_view line) {
  if (IsValidUtf8(line)) return std::nullopt;
  if (!converter_) converter_ = std::make_unique<Cp932Converter>();
  return converter_->Convert(line);
}

std::string DecodeSettingsText(std::string_view bytes) {
  SettingsLineDecoder decoder;
  std::string text;
  text.reserve(bytes.size());
  while (!bytes.empty()) {
    const std::size_t end = std::min(bytes.find('\n'), bytes.size() - 1);
    const std::string_view line = bytes.substr(0, end + 1);
    const std::optional<std::string> decoded = decoder.Decode(line);
    text += decoded ? std::string_view(*decoded) : line;
    bytes.remove_prefix(line.size());
  }
  return text;
}

std::string_view FirstCharacters(std::string_view text, std::size_t count) {
  const char* const end = text.data() + text.size();
  const char* p = text.data();
  for (std::size_t i = 0; i < count && p < end; ++i)
    p = std::min<const char*>(g_utf8_next_char(p), end);
  return text.substr(0, std::size_t(p - text.data()));
}

}  // namespace glyphary
