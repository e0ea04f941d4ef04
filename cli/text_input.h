// Text the commands read from a file or standard input.
#pragma once

#include <string>

namespace glyphary::cli {

// The whole file, or standard input for "-"; Error naming the file and the
// reason when it cannot be read.
std::string ReadTextInput(const std::string& path);

// A caption's text from a file: UTF-8 without its byte order mark and
// without the one line end that ends a text file; Error when not UTF-8.
std::string CaptionFromFile(const std::string& path);

}  // namespace glyphary::cli
