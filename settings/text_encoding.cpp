#include "settings/text_encoding.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <string>
#include <string_view>

#include "io/io.h"

namespace glyphary {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// Length of the valid UTF-8 sequence at the start of `text`, 0 when invalid.
std::size_t SequenceLength(std::string_view text) {
  const auto byte = [&](std::size_t i) { return std::uint8_t(text[i]); };
  const std::uint8_t lead = byte(0);
  if (lead < 0x80) return 1;
  std::size_t length;
  std::uint8_t low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // overlong
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // overlong
    if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  if (byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i)
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  return length;
}

iconv_t OpenCp932() {
  const iconv_t cd = ::iconv_open("UTF-8", "CP932");
  if (cd == iconv_t(-1)) throw Error("CP932 conversion is not available");
  return cd;
}

std::string ConvertCp932(iconv_t cd, std::string_view text) {
  std::string out;
  char buffer[1024];
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t rc = ::iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    const int err = errno;
    out.append(buffer, std::size_t(outPtr - buffer));
    if (rc != std::size_t(-1) || err == E2BIG) continue;
    // EILSEQ or a sequence cut off at the end: mark one byte and go on.
    out += kReplacement;
    ++in;
    --inLeft;
    ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
  return out;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  while (!text.empty()) {
    const std::size_t n = SequenceLength(text);
    if (n == 0) return false;
    text.remove_prefix(n);
  }
  return true;
}

std::string ToValidUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const std::size_t n = SequenceLength(text);
    if (n == 0) {
      out += kReplacement;
      text.remove_prefix(1);
    } else {
      out += text.substr(0, n);
      text.remove_prefix(n);
    }
  }
  return out;
}

std::string Cp932ToUtf8(std::string_view text) {
  const iconv_t cd = OpenCp932();
  try {
    std::string out = ConvertCp932(cd, text);
    ::iconv_close(cd);
    return out;
  } catch (...) {
    ::iconv_close(cd);
    throw;
  }
}

SettingsLineDecoder::~SettingsLineDecoder() {
  if (converter_ != nullptr) ::iconv_close(static_cast<iconv_t>(converter_));
}

std::optional<std::string> SettingsLineDecoder::Decode(std::string_view line) {
  if (IsValidUtf8(line)) return std::nullopt;
  if (converter_ == nullptr) converter_ = OpenCp932();
  return ConvertCp932(static_cast<iconv_t>(converter_), line);
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
  std::size_t pos = 0;
  for (std::size_t i = 0; i < count && pos < text.size(); ++i) {
    const std::size_t n = SequenceLength(text.substr(pos));
    pos += n == 0 ? 1 : n;
  }
  return text.substr(0, pos);
}

}  // namespace glyphary
