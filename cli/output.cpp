#include "cli/output.h"

#include <optional>
#include <string>
#include <string_view>

#include "cli/args.h"

namespace glyphary::cli {

ImageFormat FormatForPath(const std::string& path) {
  const auto slash = path.rfind('/');
  const auto dot = path.rfind('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
    if (const auto format = FormatOfExtension(std::string_view(path).substr(dot))) return *format;
  throw UsageError("cannot tell the format of '" + path + "': use .bmp, .jpg, .jpeg or .png");
}

ImageFormat FormatOption(const Args& args, ImageFormat fallback) {
  const std::optional<std::string> name = args.Value("format");
  if (!name) return fallback;
  if (const auto format = FormatOfExtension("." + *name)) return *format;
  throw UsageError("--format: '" + *name + "' is not bmp, png or jpg");
}

std::string OutputOptionsHelp() {
  return "  --quality N     JPEG quality, " + std::to_string(kMinJpegQuality) + " to " +
         std::to_string(kMaxJpegQuality) + " (default " +
         std::to_string(ExportOptions{}.jpegQuality) +
         ")\n"
         "  --transparent   PNG: mark the background colour transparent (implies --256)\n"
         "  --256           PNG: reduce to 256 colours\n"
         "  --no-256        PNG: keep full colour, also with --transparent\n"
         "  --alpha         PNG: the text colour with its smoothing as alpha over a fully\n"
         "                  transparent background, no fringe (--transparent and --256\n"
         "                  do not apply then)\n";
}

std::vector<OptionSpec> OutputOptionSpecs() {
  return {{"quality", true},
          {"transparent", false},
          {"256", false},
          {"no-256", false},
          {"alpha", false}};
}

ExportOptions ExportOptionsFromArgs(const Args& args, ExportOptions base) {
  args.RefuseBothForms("256");
  base.jpegQuality = args.IntValue("quality", base.jpegQuality, kMinJpegQuality, kMaxJpegQuality);
  if (args.Has("transparent")) SetPngTransparent(base, true);
  if (args.Has("256")) base.png256Colors = true;
  if (args.Has("no-256")) base.png256Colors = false;
  if (args.Has("alpha")) base.pngAlpha = true;
  return base;
}

}  // namespace glyphary::cli
