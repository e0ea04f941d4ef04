#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "export/export.h"

namespace glyphary {
namespace {

std::string CannotCreate(const std::string& path) {
  return "ファイル " + path + " を作成できません";
}

std::string CannotWrite(const std::string& path, int err) {
  return "ファイル " + path + " に書き込めません (" + std::strerror(err) + ")";
}

// A replaced file keeps its permissions; a new one gets the usual 0666 & ~umask.
mode_t ModeFor(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) == 0) return st.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)) {
  const auto slash = path_.rfind('/');
  const std::string dir = slash == std::string::npos ? "" : path_.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path_ : path_.substr(slash + 1);
  if (name.empty()) throw Error(CannotCreate(path_));
  std::string templ = dir + "." + name + ".XXXXXX";
  fd_ = ::mkostemp(templ.data(), O_CLOEXEC);
  if (fd_ < 0) throw Error(CannotCreate(path_));
  tempPath_ = std::move(templ);
}

AtomicFile::~AtomicFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!tempPath_.empty()) ::unlink(tempPath_.c_str());
}

void AtomicFile::Fail() {
  const int err = errno;
  ::close(fd_);
  fd_ = -1;
  ::unlink(tempPath_.c_str());
  tempPath_.clear();
  throw Error(CannotWrite(path_, err));
}

void AtomicFile::Write(std::span<const std::uint8_t> bytes) {
  if (fd_ < 0) throw Error(CannotWrite(path_, EBADF));
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) Fail();
    bytes = bytes.subspan(std::size_t(n));
  }
}

void AtomicFile::Commit() {
  if (fd_ < 0) throw Error(CannotWrite(path_, EBADF));
  if (::fchmod(fd_, ModeFor(path_)) != 0 || ::fsync(fd_) != 0) Fail();
  if (::close(fd_) != 0) {
    fd_ = -1;
    Fail();
  }
  fd_ = -1;
  if (::rename(tempPath_.c_str(), path_.c_str()) != 0) {
    const int err = errno;
    ::unlink(tempPath_.c_str());
    tempPath_.clear();
    throw Error(err == EISDIR ? CannotCreate(path_) : CannotWrite(path_, err));
  }
  tempPath_.clear();
}

void WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  AtomicFile file(path);
  file.Write(bytes);
  file.Commit();
}

}  // namespace glyphary
