// Writers killed at random points of large writes: the old file stays whole
// or the new one is complete, and nothing else is left in the folder but,
// after SIGKILL, which no program can hold back, at most a whole copy.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <thread>

#include "export/export.h"
#include "io/atomic_temporary.h"
#include "test_support.h"

namespace glyphary {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kBudget = std::chrono::milliseconds(2500);

Bitmap Filled(int width, int height, TColor color) {
  Bitmap bitmap(width, height);
  bitmap.Fill(color);
  return bitmap;
}

struct Outcomes {
  int rounds = 0, oldKept = 0, newComplete = 0, damaged = 0, leftovers = 0;
  // SIGKILL between naming the finished temporary and renaming it leaves
  // that name: a whole copy of the new picture, never part of one.
  int wholeCopiesLeft = 0;
};

class InterruptedWrite : public ::testing::Test {
 protected:
  // Writes in a child and stops it with `sig` after `delay`; returns the time
  // the child ran.
  Clock::duration WriteInChild(const Bitmap& bitmap, int sig, Clock::duration delay,
                               bool namedTemporaries) {
    const auto start = Clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
      UseNamedTemporariesOnly(namedTemporaries);
      WriteBmpFile(bitmap, path_);
      ::_exit(0);
    }
    std::this_thread::sleep_for(delay);
    ::kill(child, sig);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE((WIFEXITED(status) && WEXITSTATUS(status) == 0) ||
                (WIFSIGNALED(status) && WTERMSIG(status) == sig))
        << "status " << status;
    return Clock::now() - start;
  }

  // Alternates two pictures of different sizes so a mix of both shows.
  Outcomes Run(const std::array<int, 3>& signals, bool namedTemporaries) {
    TempDir reference;
    WriteBmpFile(pictures_[0], reference.File("0.bmp"));
    WriteBmpFile(pictures_[1], reference.File("1.bmp"));
    const std::array<std::string, 2> expected = {ReadAll(reference.File("0.bmp")),
                                                 ReadAll(reference.File("1.bmp"))};
    // Two writes left to finish, the second one timed, tell how long one
    // takes; stops fall anywhere in twice that, so both outcomes occur.
    WriteInChild(pictures_[1], 0, {}, namedTemporaries);
    const auto whole = WriteInChild(pictures_[0], 0, {}, namedTemporaries);
    int current = 0;
    std::mt19937 random(12345);
    std::uniform_int_distribution<long> delayUs(
        0, long(std::chrono::duration_cast<std::chrono::microseconds>(whole).count() * 2));
    Outcomes out;
    const auto end = Clock::now() + kBudget;
    while (Clock::now() < end || out.rounds < 10) {
      const int next = 1 - current;
      WriteInChild(pictures_[next], signals[std::size_t(out.rounds) % signals.size()],
                   std::chrono::microseconds(delayUs(random)), namedTemporaries);
      const std::string now = ReadAll(path_);
      ++out.rounds;
      if (now == expected[std::size_t(current)]) {
        ++out.oldKept;
      } else if (now == expected[std::size_t(next)]) {
        ++out.newComplete;
        current = next;
      } else {
        ++out.damaged;
      }
      CountLeftovers(expected[std::size_t(next)], out);
    }
    std::printf(
        "%d rounds: old kept %d, new complete %d, damaged %d, leftovers %d, whole copies %d\n",
        out.rounds, out.oldKept, out.newComplete, out.damaged, out.leftovers, out.wholeCopiesLeft);
    return out;
  }

  // Counts and removes what is there beside the picture.
  void CountLeftovers(const std::string& newPicture, Outcomes& out) {
    bool stray = false, wholeCopy = false;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.Path())) {
      if (entry.path() == path_) continue;
      const bool named = entry.path().filename().string().starts_with(kTemporaryPrefix);
      (named && ReadAll(entry.path().string()) == newPicture ? wholeCopy : stray) = true;
      std::filesystem::remove(entry.path());
    }
    out.leftovers += stray;
    out.wholeCopiesLeft += wholeCopy;
  }

  TempDir dir_;
  std::string path_ = dir_.File("caption.bmp");
  std::array<Bitmap, 2> pictures_ = {Filled(1600, 1500, 0x00336699),
                                     Filled(2000, 1700, 0x00996633)};
};

TEST_F(InterruptedWrite, SigkillLeavesTheOldOrTheNewFileAndNothingHalfWritten) {
  const Outcomes out = Run({SIGKILL, SIGKILL, SIGKILL}, false);
  EXPECT_EQ(out.damaged, 0);
  EXPECT_EQ(out.leftovers, 0);
}

TEST_F(InterruptedWrite, StopSignalsRemoveANamedTemporary) {
  const Outcomes out = Run({SIGTERM, SIGINT, SIGHUP}, true);
  EXPECT_EQ(out.damaged, 0);
  EXPECT_EQ(out.leftovers, 0);
  EXPECT_EQ(out.wholeCopiesLeft, 0);
}

}  // namespace
}  // namespace glyphary
