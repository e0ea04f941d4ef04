// Public interface of the program's file handling: its errors, where its
// own files lie, output that is whole or not there at all, and the few text
// helpers every folder shares.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace glyphary {

// A failure whose message (UTF-8, Japanese where the user sees it) is shown
// to the user as it stands.
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A file that could not be read, made or written. Reason() is the short
// phrase the message ends with, for callers that name the file their own way.
class FileError : public Error {
 public:
  FileError(const std::string& message, std::string reason)
      : Error(message), reason_(std::move(reason)) {}
  const std::string& Reason() const noexcept { return reason_; }

 private:
  std::string reason_;
};

// ---------------------------------------------------------------- program files

// The full path of the running program, from /proc/self/exe.
std::string ExecutablePath();
// A file shipped with the program, by its path below the program's data
// folder ("fonts/glyphary-fonts.conf"): beside the executable (build tree,
// portable copy), else in ../share/glyphary (installed). Empty when neither.
std::string FindProgramFileFor(std::string_view executablePath, std::string_view relativePath);
std::string FindProgramFile(std::string_view relativePath);
// Code loaded into another program (the Python module) names its own data
// folder, which FindProgramFile then searches first; the executable is not ours.
void SetProgramDataFolder(std::string folder);
// The help document, help/index.htm, as FindProgramFile finds it; where it
// would lie beside the executable when it is nowhere, since the caller only
// hands the path to the desktop and reports nothing itself.
std::string HelpDocumentPath();

// ---------------------------------------------------------------- atomic output

// Writes a file so that it is either complete or not there at all: the bytes
// go to an unnamed temporary file in the target's folder (a short-named one
// where the file system has no unnamed files), which replaces the target only
// on Commit(). Destroying an uncommitted AtomicFile removes the temporary and
// leaves any earlier file at the path untouched. A symbolic link is followed
// and its target replaced. An existing file the user may not write is
// refused, and so is one without any write permission, for root too; a
// writable file in a folder the user may not write is rewritten in place on
// Commit() from the content kept in memory.
class AtomicFile {
 public:
  // Throws FileError "ファイル %s を作成できません (reason)" when the file cannot
  // be made or replaced; nothing is changed then.
  explicit AtomicFile(std::string path);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Both throw FileError "ファイル %s に書き込めません (reason)" when writing fails.
  void Write(std::span<const std::uint8_t> bytes);
  void Commit();
  const std::string& Path() const noexcept { return path_; }

 private:
  void RewriteInPlace(int fd);
  // Closes and removes the temporary, then throws Error(message).
  [[noreturn]] void Fail(int err);
  [[noreturn]] void Discard(const FileError& error);
  void CommitReplacement();
  void CommitInPlace();
  std::string path_, target_, tempPath_;
  std::vector<std::uint8_t> inPlaceContent_;
  int fd_ = -1;
  bool inPlace_ = false;
  // The file being replaced, whose owner and permissions the new one keeps.
  bool replacing_ = false;
  std::uint32_t owner_ = 0, group_ = 0, mode_ = 0;
};

// Writes a whole file atomically from memory.
void WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes);

// Why a write failed, as a short Japanese phrase for an errno value;
// strerror's text for the rare ones.
std::string ReasonFor(int err);

// Makes a folder and any missing above it; throws Error
// "フォルダー %s を作成できません (reason)" when it cannot.
void MakeFolders(const std::string& path);

// ---------------------------------------------------------------- text

// Whether two texts are the same but for the case of ASCII letters. No other
// byte is folded, whatever the locale: the C library's tolower folds 'I' to
// a dotless i under a Turkish locale, and Latin-1 bytes inside UTF-8.
bool SameIgnoringAsciiCase(std::string_view a, std::string_view b);

// The text with every byte that is not part of valid UTF-8, and every NUL,
// replaced by U+FFFD, as a text shown or written as text must be.
std::string ToValidUtf8(std::string_view text);

// What the program says instead of std::bad_alloc when memory runs out; the
// command line and the windows show the same text.
inline const char* OutOfMemoryMessage() noexcept {
  return "メモリが足りないため処理を続けられません";
}

}  // namespace glyphary
