// Output files of the commands: the format follows the file name's extension,
// and every command that writes an image takes the same export options.
#pragma once

#include <string>
#include <vector>

#include "cli/args.h"
#include "export/export.h"

namespace glyphary::cli {

// .bmp, .jpg/.jpeg or .png, in any letter case; UsageError otherwise.
ImageFormat FormatForPath(const std::string& path);
// --format bmp|png|jpg, `fallback` when it is not given.
ImageFormat FormatOption(const Args& args, ImageFormat fallback);

// --quality N, --transparent, --256, --no-256, --alpha.
std::vector<OptionSpec> OutputOptionSpecs();
// Help text lines for those options.
std::string OutputOptionsHelp();

// Applies the output options over `base`: --transparent couples the
// 256-colour flag to it, then --256 / --no-256 set that flag on their own.
ExportOptions ExportOptionsFromArgs(const Args& args, ExportOptions base = {});

}  // namespace glyphary::cli
