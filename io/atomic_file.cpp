#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "io/atomic_messages.h"
#include "io/atomic_temporary.h"
#include "io/io.h"

namespace glyphary {
namespace {

constexpr int kMaxLinkHops = 40;  // the kernel's own limit

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

// The file a chain of symbolic links ends at, so the links survive the write.
std::string FollowLinks(const std::string& path) {
  std::string current = path;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    char target[PATH_MAX];
    const ssize_t n = ::readlink(current.c_str(), target, sizeof target);
    // Not a link, or not there yet: creating the file reports any real fault.
    if (n < 0) return current;
    if (std::size_t(n) == sizeof target) throw CannotCreate(path, ENAMETOOLONG);
    const std::string link(target, std::size_t(n));
    current = link.front() == '/' ? link : FolderOf(current) + link;
  }
  throw CannotCreate(path, ELOOP);
}

// A new file gets the usual 0666 & ~umask.
mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// Root replacing another user's file hands it back to that user; for anyone
// else this fails and the file becomes theirs, as any new file would.
void KeepOwner(int fd, uid_t owner, gid_t group) {
  if (owner == ::geteuid() && group == ::getegid()) return;
  const int ignored = ::fchown(fd, owner, group);
  (void)ignored;
}

// In a folder with the sticky bit (/tmp) only the owner of a file or of the
// folder may replace the file; others may still write it where its
// permissions allow.
bool StickyFolderForbidsReplacing(const std::string& folder, const struct stat& file) {
  struct stat dir;
  if (::stat(folder.empty() ? "." : folder.c_str(), &dir) != 0 || !(dir.st_mode & S_ISVTX))
    return false;
  const uid_t me = ::geteuid();
  return me != 0 && file.st_uid != me && dir.st_uid != me;
}

}  // namespace

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)) {
  if (path_.empty() || path_.back() == '/') throw CannotCreate(path_, EISDIR);
  target_ = FollowLinks(path_);
  // An existing file must be writable by us; a locked one is kept as it is.
  int existing = -1;
  struct stat st;
  if (::stat(target_.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) throw CannotCreate(path_, EISDIR);
    if (!S_ISREG(st.st_mode)) throw CannotCreateNonRegular(path_);
    // Someone marked it read-only: kept, also for root, whom open() would let in.
    if ((st.st_mode & 0222) == 0) throw CannotCreate(path_, EACCES);
    existing = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (existing < 0) throw CannotCreate(path_, errno);
    replacing_ = true;
    owner_ = st.st_uid;
    group_ = st.st_gid;
    mode_ = st.st_mode & 07777;
  } else if (errno != ENOENT) {
    throw CannotCreate(path_, errno);
  }

  const std::string folder = FolderOf(target_);
  if (existing >= 0 && StickyFolderForbidsReplacing(folder, st)) {
    RewriteInPlace(existing);
    return;
  }
  fd_ = OpenUnnamedTemporary(folder);
  if (fd_ < 0 && errno == EOPNOTSUPP) fd_ = OpenNamedTemporary(folder, tempPath_);
  const int err = errno;
  if (fd_ < 0 && existing >= 0 && (err == EACCES || err == EPERM)) {
    // A folder we may not write: the file itself can only be rewritten.
    RewriteInPlace(existing);
    return;
  }
  if (existing >= 0) ::close(existing);
  if (fd_ < 0) throw CannotCreate(path_, err);
}

void AtomicFile::RewriteInPlace(int fd) {
  fd_ = fd;
  inPlace_ = true;
}

AtomicFile::~AtomicFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!tempPath_.empty()) RemoveTemporary(tempPath_);
}

void AtomicFile::Fail(int err) {
  Discard(CannotWrite(path_, err));
}

void AtomicFile::Discard(const FileError& error) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!tempPath_.empty()) RemoveTemporary(tempPath_);
  tempPath_.clear();
  throw error;
}

void AtomicFile::Write(std::span<const std::uint8_t> bytes) {
  if (fd_ < 0) throw CannotWrite(path_, EBADF);
  if (inPlace_) {
    inPlaceContent_.insert(inPlaceContent_.end(), bytes.begin(), bytes.end());
    return;
  }
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) Fail(n < 0 ? errno : EIO);
    bytes = bytes.subspan(std::size_t(n));
  }
}

void AtomicFile::Commit() {
  if (fd_ < 0) throw CannotWrite(path_, EBADF);
  if (inPlace_)
    CommitInPlace();
  else
    CommitReplacement();
}

void AtomicFile::CommitReplacement() {
  if (replacing_) {
    KeepOwner(fd_, owner_, group_);
    if (::fchmod(fd_, mode_) != 0) Fail(errno);
  } else if (!tempPath_.empty() && ::fchmod(fd_, NewFileMode()) != 0) {
    Fail(errno);
  }
  if (::fsync(fd_) != 0) Fail(errno);

  // Between naming and renaming only SIGKILL could leave the name behind.
  StopSignalsHeld held;
  if (tempPath_.empty() && !LinkTemporary(fd_, FolderOf(target_), tempPath_)) Fail(errno);
  if (::rename(tempPath_.c_str(), target_.c_str()) != 0) Discard(CannotCreate(path_, errno));
  ForgetTemporary(tempPath_);
  tempPath_.clear();
  // The data is on disk since fsync; a late close error changes nothing.
  ::close(fd_);
  fd_ = -1;
}

// The whole content is known before the file is touched; space is reserved
// first so that a full disk is found before the old content is overwritten.
void AtomicFile::CommitInPlace() {
  const std::span<const std::uint8_t> content = inPlaceContent_;
  if (!content.empty() && ::fallocate(fd_, FALLOC_FL_KEEP_SIZE, 0, off_t(content.size())) != 0 &&
      errno != EOPNOTSUPP && errno != ENOSYS)
    Fail(errno);
  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = ::pwrite(fd_, content.data() + done, content.size() - done, off_t(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) Fail(n < 0 ? errno : EIO);
    done += std::size_t(n);
  }
  if (::ftruncate(fd_, off_t(content.size())) != 0 || ::fsync(fd_) != 0) Fail(errno);
  const int closed = ::close(fd_);
  fd_ = -1;
  if (closed != 0) Fail(errno);
  inPlaceContent_ = {};
}

void WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  AtomicFile file(path);
  file.Write(bytes);
  file.Commit();
}

}  // namespace glyphary
