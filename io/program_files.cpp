#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>

#include "io/io.h"

namespace glyphary {
namespace {

constexpr char kInstalledDataFolder[] = "../share/glyphary";
constexpr char kHelpDocument[] = "help/index.htm";

std::filesystem::path ExecutableFolder(std::string_view executablePath) {
  return std::filesystem::path(executablePath).parent_path();
}

}  // namespace

std::string ExecutablePath() {
  std::string path(4096, '\0');
  for (;;) {
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
    if (n < 0) throw Error(std::string("cannot find the running program: ") + std::strerror(errno));
    if (std::size_t(n) < path.size()) {
      path.resize(std::size_t(n));
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::string FindProgramFileFor(std::string_view executablePath, std::string_view relativePath) {
  namespace fs = std::filesystem;
  const fs::path folder = ExecutableFolder(executablePath);
  for (const fs::path& base : {folder, folder / kInstalledDataFolder}) {
    std::error_code ec;
    const fs::path candidate = base / relativePath;
    if (fs::is_regular_file(candidate, ec)) return candidate.lexically_normal().string();
  }
  return {};
}

namespace {

std::mutex dataFolderMutex;
std::string dataFolder;

std::string InDataFolder(std::string_view relativePath) {
  const std::lock_guard lock(dataFolderMutex);
  if (dataFolder.empty()) return {};
  std::error_code ec;
  const std::filesystem::path candidate = std::filesystem::path(dataFolder) / relativePath;
  return std::filesystem::is_regular_file(candidate, ec) ? candidate.lexically_normal().string()
                                                         : std::string();
}

}  // namespace

void SetProgramDataFolder(std::string folder) {
  const std::lock_guard lock(dataFolderMutex);
  dataFolder = std::move(folder);
}

std::string FindProgramFile(std::string_view relativePath) {
  if (std::string found = InDataFolder(relativePath); !found.empty()) return found;
  return FindProgramFileFor(ExecutablePath(), relativePath);
}

std::string HelpDocumentPath() {
  const std::string executable = ExecutablePath();
  const std::string found = FindProgramFileFor(executable, kHelpDocument);
  if (!found.empty()) return found;
  return (ExecutableFolder(executable) / kHelpDocument).string();
}

}  // namespace glyphary
