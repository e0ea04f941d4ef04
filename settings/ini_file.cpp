#include "settings/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include "export/export.h"

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

// A settings file is a few hundred bytes; anything far beyond is no settings
// file, and reading it whole could take all the memory there is.
constexpr std::size_t kMaxSettingsBytes = std::size_t(1) << 20;

FileError CannotRead(const std::string& path, const std::string& why) {
  return FileError("設定ファイル " + path + " を読み込めません (" + why + ")", why);
}

// The write reasons, but a file we may not open for reading says so.
std::string ReadingReason(int err) {
  return err == EACCES ? "読み取りの許可がありません" : ReasonFor(err);
}

// The file's bytes; nullopt when there is no file. Opened without blocking,
// so that a FIFO is refused rather than waited on.
std::optional<std::string> ReadSettingsBytes(const std::string& path) {
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.Get() < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
    throw CannotRead(path, ReadingReason(errno));
  }
  struct stat st;
  if (::fstat(fd.Get(), &st) != 0) throw CannotRead(path, ReadingReason(errno));
  if (!S_ISREG(st.st_mode)) throw CannotRead(path, "通常のファイルではありません");
  const FileError tooLarge = CannotRead(path, "1 MiB を超えています");
  if (std::uint64_t(st.st_size) > kMaxSettingsBytes) throw tooLarge;
  // The size may change while we read: the limit holds for what is read.
  std::string bytes;
  char buffer[8192];
  for (;;) {
    const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw CannotRead(path, ReadingReason(errno));
    if (n == 0) return bytes;
    if (bytes.size() + std::size_t(n) > kMaxSettingsBytes) throw tooLarge;
    bytes.append(buffer, std::size_t(n));
  }
}

// The user's settings folder does not exist before the first store.
void CreateMissingFolder(const std::string& path) {
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  std::error_code ec;
  if (!folder.empty() && !std::filesystem::exists(folder, ec))
    std::filesystem::create_directories(folder, ec);  // a failure shows in the write
}

}  // namespace

FileError CannotWriteSettings(const std::string& path, const FileError& why) {
  return FileError(path + " に書き込めません (" + why.Reason() + ")", why.Reason());
}

IniDocument ReadIniFile(const std::string& path) {
  const std::optional<std::string> bytes = ReadSettingsBytes(path);
  return bytes ? IniDocument::Parse(*bytes) : IniDocument{};
}

IniDocument ReadExistingIniFile(const std::string& path) {
  const std::optional<std::string> bytes = ReadSettingsBytes(path);
  if (!bytes) throw CannotRead(path, ReadingReason(ENOENT));
  return IniDocument::Parse(*bytes);
}

void WriteIniFile(const std::string& path, const IniDocument& doc) {
  const std::string text = doc.Serialize();
  CreateMissingFolder(path);
  try {
    WriteWholeFile(path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
  } catch (const FileError& e) {
    throw CannotWriteSettings(path, e);
  }
}

}  // namespace glyphary
