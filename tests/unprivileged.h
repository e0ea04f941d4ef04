// Runs part of a test as an ordinary user, for checks that depend on file
// permissions: root ignores them, and CI runs the tests as root.
#pragma once

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <exception>
#include <functional>
#include <string>

namespace glyphary {

inline constexpr uid_t kUnprivilegedId = 65534;  // nobody

// Hands a file or folder to the user the child runs as.
inline void GiveToUnprivilegedUser(const std::string& path) {
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(path.c_str(), kUnprivilegedId, kUnprivilegedId), 0);
  }
}

// Runs `body` in a forked child after `prepare`; returns the message of the
// exception it threw, or "" when it ran through. A failing `prepare` (false)
// fails the test.
inline std::string ErrorInChild(const std::function<bool()>& prepare,
                                const std::function<void()>& body) {
  int channel[2];
  if (::pipe(channel) != 0) return "pipe failed";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(channel[0]);
    if (!prepare()) ::_exit(3);
    std::string message;
    try {
      body();
    } catch (const std::exception& e) {
      message = e.what();
    }
    const ssize_t written = ::write(channel[1], message.data(), message.size());
    ::_exit(written == ssize_t(message.size()) ? 0 : 4);
  }
  ::close(channel[1]);
  std::string message;
  char buffer[512];
  ssize_t n;
  while ((n = ::read(channel[0], buffer, sizeof buffer)) > 0)
    message.append(buffer, std::size_t(n));
  ::close(channel[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
  return message;
}

// The same as nobody when we are root.
inline std::string ErrorAsUnprivilegedUser(const std::function<void()>& body) {
  return ErrorInChild(
      [] {
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(kUnprivilegedId) != 0 ||
                                 ::setuid(kUnprivilegedId) != 0))
          return false;
        // A process that changed its user is not dumpable, which hides
        // /proc/self/fd; one started by that user is.
        ::prctl(PR_SET_DUMPABLE, 1);
        return true;
      },
      body);
}

}  // namespace glyphary
