// The desktop program as a process: ended from outside, and started where
// no display can be reached.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "test_support.h"

namespace glyphary {
namespace {

using namespace std::chrono_literals;

struct Launched {
  pid_t pid = -1;
  std::string stderrPath;
};

// Starts the program with these variables set ("NAME=" alone unsets one)
// and these signals ignored, as nohup or a shell's background job leaves them.
Launched Launch(const std::vector<std::string>& environment,
                const std::vector<std::string>& arguments, const std::string& stderrPath,
                const std::vector<int>& ignored = {}) {
  Launched run{::fork(), stderrPath};
  if (run.pid == 0) {
    for (int sig : ignored) ::signal(sig, SIG_IGN);
    // Qt keeps a few objects until exit; a sanitizer build is not to report them.
    ::setenv("LSAN_OPTIONS", "suppressions=" GLYPHARY_UI_LSAN_SUPPRESSIONS, 1);
    for (const std::string& entry : environment) {
      const auto equals = entry.find('=');
      const std::string name = entry.substr(0, equals), value = entry.substr(equals + 1);
      if (value.empty())
        ::unsetenv(name.c_str());
      else
        ::setenv(name.c_str(), value.c_str(), 1);
    }
    if (!std::freopen(stderrPath.c_str(), "w", stderr)) ::_exit(90);
    std::vector<char*> argv{const_cast<char*>(GLYPHARY_APP)};
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(GLYPHARY_APP, argv.data());
    ::_exit(91);
  }
  return run;
}

// The exit status, or -1 when it did not end in time (then it is killed).
int WaitForExit(pid_t pid, std::chrono::seconds limit = 30s) {
  const auto end = std::chrono::steady_clock::now() + limit;
  int status = 0;
  while (::waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > end) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(20ms);
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Whether the signal is in one of the process's signal sets as the kernel
// shows them ("SigCgt:" caught, "SigIgn:" ignored).
bool InSignalSet(pid_t pid, const std::string& set, int sig) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.starts_with(set))
      return (std::stoull(line.substr(set.size()), nullptr, 16) >> (sig - 1)) & 1;
  return false;
}

// Whether the process has a handler of its own for the signal.
bool Catches(pid_t pid, int sig) {
  return InSignalSet(pid, "SigCgt:", sig);
}

class ProgramProcess : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override { GLYPHARY_SKIP_UNDER_EMULATOR("it starts the program itself"); }
  TempDir dir_;
  const std::string ini_ = dir_.File("glyphary.INI");
};

// A logout or `kill` keeps the style and the window's place, as the menu's
// Exit does.
TEST_P(ProgramProcess, AStopSignalEndsTheProgramWithItsSettingsStored) {
  const int sig = GetParam();
  const Launched run =
      Launch({"QT_QPA_PLATFORM=offscreen"}, {"--settings", ini_}, dir_.File("err"));
  const auto until = std::chrono::steady_clock::now() + 30s;
  while (!Catches(run.pid, sig) && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(10ms);
  ASSERT_TRUE(Catches(run.pid, sig));
  ::kill(run.pid, sig);
  EXPECT_EQ(WaitForExit(run.pid), 0) << ReadAll(run.stderrPath);
  const std::string ini = ReadAll(ini_);
  EXPECT_NE(ini.find("[Window]"), std::string::npos) << ini;
  EXPECT_NE(ini.find("Size=25"), std::string::npos) << ini;
  EXPECT_NE(ini.find("Rate=70"), std::string::npos) << ini;
}

// Started with one stop signal ignored (nohup ignores SIGHUP), the program
// leaves it so and still ends on the others.
TEST_P(ProgramProcess, AStopSignalIgnoredAtStartStaysIgnored) {
  const int ignored = GetParam();
  const Launched run =
      Launch({"QT_QPA_PLATFORM=offscreen"}, {"--settings", ini_}, dir_.File("err"), {ignored});
  std::vector<int> others;
  for (int sig : {SIGTERM, SIGHUP, SIGINT})
    if (sig != ignored) others.push_back(sig);
  const auto caughtAll = [&] {
    return std::all_of(others.begin(), others.end(),
                       [&](int sig) { return Catches(run.pid, sig); });
  };
  const auto until = std::chrono::steady_clock::now() + 30s;
  while (!caughtAll() && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(10ms);
  ASSERT_TRUE(caughtAll());
  EXPECT_TRUE(InSignalSet(run.pid, "SigIgn:", ignored));
  EXPECT_FALSE(Catches(run.pid, ignored));
  ::kill(run.pid, others.front());
  EXPECT_EQ(WaitForExit(run.pid), 0) << ReadAll(run.stderrPath);
  EXPECT_NE(ReadAll(ini_).find("[Window]"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Signals, ProgramProcess, ::testing::Values(SIGTERM, SIGHUP, SIGINT),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return std::string(sigabbrev_np(info.param));
                         });

// Every way of missing the display ends the same: one line and status 1,
// where Qt itself would abort.
TEST(UnreachableDisplay, GivesOneMessageAndStatusOneWhateverTheCause) {
  GLYPHARY_SKIP_UNDER_EMULATOR("it starts the program itself");
  TempDir dir;
  const std::vector<std::vector<std::string>> environments = {
      {"QT_QPA_PLATFORM=", "WAYLAND_DISPLAY=", "DISPLAY="},
      {"QT_QPA_PLATFORM=", "WAYLAND_DISPLAY=", "DISPLAY=:99"},
      {"QT_QPA_PLATFORM=wayland", "WAYLAND_DISPLAY=nonexistent", "DISPLAY="},
  };
  for (const auto& environment : environments) {
    const Launched run = Launch(environment, {"--settings", dir.File("g.INI")}, dir.File("err"));
    EXPECT_EQ(WaitForExit(run.pid), 1);
    const std::string err = ReadAll(run.stderrPath);
    EXPECT_TRUE(err.starts_with("glyphary: 画面に接続できません (")) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  }
}

}  // namespace
}  // namespace glyphary
