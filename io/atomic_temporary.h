// Temporary files beside a target. Unnamed ones (O_TMPFILE) vanish with the
// process however it ends; where the file system has none, named ones are
// registered so that SIGTERM, SIGINT and SIGHUP remove them.
#pragma once

#include <csignal>
#include <string>

namespace glyphary {

// Every temporary's name starts so; short, so that a target name of up to
// 255 bytes still leaves room for it.
inline constexpr char kTemporaryPrefix[] = ".gly";

// An unnamed file in `dir` ("" for the current folder); -1 with errno set,
// EOPNOTSUPP where the file system cannot make one.
int OpenUnnamedTemporary(const std::string& dir);

// A new file with a short random name in `dir`, registered for removal on a
// stop signal; -1 with errno set.
int OpenNamedTemporary(const std::string& dir, std::string& name);

// Gives an unnamed temporary a short random name in `dir`; false with errno set.
bool LinkTemporary(int fd, const std::string& dir, std::string& name);

// Removes a named temporary and forgets it.
void RemoveTemporary(const std::string& name);
// Forgets a named temporary that has become the target.
void ForgetTemporary(const std::string& name);

// Holds SIGTERM, SIGINT and SIGHUP back while a name is made or moved, so a
// stop request never falls between the two steps.
class StopSignalsHeld {
 public:
  StopSignalsHeld();
  ~StopSignalsHeld();
  StopSignalsHeld(const StopSignalsHeld&) = delete;
  StopSignalsHeld& operator=(const StopSignalsHeld&) = delete;

 private:
  sigset_t saved_;
};

// Tests use this to run the named fallback on file systems that have O_TMPFILE.
void UseNamedTemporariesOnly(bool on);

}  // namespace glyphary
