#include <filesystem>
#include <system_error>

#include "io/atomic_messages.h"
#include "io/io.h"

namespace glyphary {

void MakeFolders(const std::string& path) {
  std::error_code error;
  std::filesystem::create_directories(path, error);
  if (error)
    throw Error("フォルダー " + path + " を作成できません (" + ReasonFor(error.value()) + ")");
}

}  // namespace glyphary
