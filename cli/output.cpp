#include "cli/output.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

#include "cli/args.h"

namespace glyphary::cli {
namespace {

constexpr std::array<std::pair<const char*, ImageFormat>, 4> kExtensions = {{
    {".bmp", ImageFormat::Bmp},
    {".jpg", ImageFormat::Jpeg},
    {".jpeg", ImageFormat::Jpeg},
    {".png", ImageFormat::Png},
}};

}  // namespace

ImageFormat FormatForPath(const std::string& path) {
  const auto slash = path.rfind('/');
  const auto dot = path.rfind('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
    std::string ext = path.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    for (const auto& [name, format] : kExtensions)
      if (ext == name) return format;
  }
  throw UsageError("cannot tell the format of '" + path + "': use .bmp, .jpg, .jpeg or .png");
}

}  // namespace glyphary::cli
