#include "io/atomic_temporary.h"

#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>

namespace glyphary {
namespace {

std::atomic<bool> namedOnly{false};

constexpr int kRandomChars = 6;

std::string RandomName(const std::string& dir) {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char noise[kRandomChars];
  if (::getrandom(noise, sizeof noise, 0) != ssize_t(sizeof noise))
    for (auto& n : noise) n = static_cast<unsigned char>(std::rand());
  std::string name = dir + kTemporaryPrefix;
  for (unsigned char n : noise) name += kAlphabet[n % (sizeof kAlphabet - 1)];
  return name;
}

std::string ProcPath(int fd) {
  return "/proc/self/fd/" + std::to_string(fd);
}

}  // namespace

int OpenUnnamedTemporary(const std::string& dir) {
  if (namedOnly.load()) {
    errno = EOPNOTSUPP;
    return -1;
  }
  const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) {
    // Kernels and file systems without O_TMPFILE answer in several ways.
    if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) errno = EOPNOTSUPP;
    return -1;
  }
  // Naming it later goes through /proc; without /proc it could never be named.
  if (::access(ProcPath(fd).c_str(), F_OK) != 0) {
    ::close(fd);
    errno = EOPNOTSUPP;
    return -1;
  }
  return fd;
}

bool LinkTemporary(int fd, const std::string& dir, std::string& name) {
  const std::string source = ProcPath(fd);
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = RandomName(dir);
    if (::linkat(AT_FDCWD, source.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
      return true;
    if (errno != EEXIST) break;
  }
  name.clear();
  return false;
}

void UseNamedTemporariesOnly(bool on) {
  namedOnly.store(on);
}

}  // namespace glyphary
