// Output files of the commands: the format follows the file name's extension.
#pragma once

#include <string>

#include "export/export.h"

namespace glyphary::cli {

// .bmp, .jpg/.jpeg or .png, in any letter case; UsageError otherwise.
ImageFormat FormatForPath(const std::string& path);

}  // namespace glyphary::cli
