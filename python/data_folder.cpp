#include "python/data_folder.h"

#include <dlfcn.h>

#include <filesystem>

#include "io/io.h"

namespace glyphary {

void UseDataFolderBesideModule() {
  Dl_info info{};
  if (!::dladdr(reinterpret_cast<void*>(&UseDataFolderBesideModule), &info) || !info.dli_fname)
    return;
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path module = fs::canonical(info.dli_fname, ec);
  if (ec) return;
  const fs::path folder = module.parent_path();
  for (const fs::path& data : {folder / "..", folder / "../../../share/glyphary"}) {
    if (fs::is_regular_file(data / "fonts/glyphary-fonts.conf", ec)) {
      SetProgramDataFolder(data.lexically_normal().string());
      return;
    }
  }
}

}  // namespace glyphary
