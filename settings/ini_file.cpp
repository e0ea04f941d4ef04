#include "settings/ini_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "export/export.h"
#include "settings/text_encoding.h"

namespace glyphary {
namespace {

// Closes a descriptor on every path out.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int Get() const noexcept { return fd_; }

 private:
  int fd_;
};

std::string CannotRead(const std::string& path, int err) {
  return path + " を読み込めません (" + std::strerror(err) + ")";
}

// Where the bytes go: the target of a symbolic link, so the link survives.
std::string WriteTarget(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_symlink(path, ec)) return path;
  const auto target = std::filesystem::weakly_canonical(path, ec);
  return ec ? path : target.string();
}

// The user's settings folder does not exist before the first store.
void CreateMissingFolder(const std::string& path) {
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  std::error_code ec;
  if (!folder.empty() && !std::filesystem::exists(folder, ec))
    std::filesystem::create_directories(folder, ec);  // a failure shows in the write
}

}  // namespace

std::string CannotWriteSettings(const std::string& path) {
  return path + " に書き込めません";
}

IniDocument ReadIniFile(const std::string& path) {
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return {};
    throw Error(CannotRead(path, errno));
  }
  std::string bytes;
  char buffer[8192];
  for (;;) {
    const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw Error(CannotRead(path, errno));
    if (n == 0) break;
    bytes.append(buffer, std::size_t(n));
  }
  return IniDocument::Parse(DecodeSettingsText(bytes));
}

void WriteIniFile(const std::string& path, const IniDocument& doc) {
  const std::string text = doc.Serialize();
  CreateMissingFolder(path);
  try {
    WriteWholeFile(WriteTarget(path),
                   {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
  } catch (const Error&) {
    throw Error(CannotWriteSettings(path));
  }
}

}  // namespace glyphary
