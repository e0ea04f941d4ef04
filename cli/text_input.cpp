#include "cli/text_input.h"

#include <glib.h>

#include <cerrno>
#include <fstream>
#include <iostream>
#include <iterator>

#include "io/io.h"

namespace glyphary::cli {
namespace {

// Writing, a missing path means a missing folder; reading, the file itself.
std::string ReadReason(int err) {
  return err == ENOENT ? "ファイルが見つかりません" : ReasonFor(err);
}

}  // namespace

std::string ReadTextInput(const std::string& path) {
  if (path == "-")
    return {std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()};
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Error("ファイル " + path + " を読み込めません (" + ReadReason(errno) + ")");
  std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) throw Error("ファイル " + path + " を読み込めません (" + ReadReason(EIO) + ")");
  return text;
}

std::string CaptionFromFile(const std::string& path) {
  std::string text = ReadTextInput(path);
  if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
  if (!g_utf8_validate(text.data(), gssize(text.size()), nullptr))
    throw Error("ファイル " + path + " は UTF-8 のテキストではありません");
  if (text.ends_with('\n')) text.pop_back();
  if (text.ends_with('\r')) text.pop_back();
  return text;
}

}  // namespace glyphary::cli
