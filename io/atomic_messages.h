// The messages of file output that fails, with the system's reason appended.
#pragma once

#include <string>

#include "io/io.h"

namespace glyphary {

// "ファイル %s を作成できません (reason)"
FileError CannotCreate(const std::string& path, int err);
// "ファイル %s を作成できません (通常のファイルではありません)"
FileError CannotCreateNonRegular(const std::string& path);
// "ファイル %s に書き込めません (reason)"
FileError CannotWrite(const std::string& path, int err);

}  // namespace glyphary
