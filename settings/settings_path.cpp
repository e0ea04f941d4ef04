#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>

#include "settings/settings.h"

namespace glyphary {

std::string SettingsPathFor(std::string_view executablePath) {
  const auto slash = executablePath.rfind('/');
  const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
  const auto dot = executablePath.rfind('.');
  const bool hasExtension = dot != std::string_view::npos && dot >= nameStart;
  return std::string(hasExtension ? executablePath.substr(0, dot) : executablePath) + ".INI";
}

std::string SettingsPathForExecutable() {
  std::string path(4096, '\0');
  for (;;) {
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
    if (n < 0) throw Error(std::string("cannot find the running program: ") + std::strerror(errno));
    if (std::size_t(n) < path.size()) {
      path.resize(std::size_t(n));
      return SettingsPathFor(path);
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace glyphary
