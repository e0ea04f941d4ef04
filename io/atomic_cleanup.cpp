// Named temporaries and their removal when the process is told to stop.
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>

#include "io/atomic_temporary.h"

namespace glyphary {
namespace {

constexpr std::array<int, 3> kStopSignals = {SIGTERM, SIGINT, SIGHUP};

// The handler reads only slots that are ready: a slot is claimed, filled,
// then marked ready, and freed in one step.
enum SlotState : int { kFree, kFilling, kReady };

struct Slot {
  std::atomic<int> state{kFree};
  char path[PATH_MAX];
};
static_assert(std::atomic<int>::is_always_lock_free);

std::array<Slot, 16> slots;

void RemoveTemporariesAndStop(int sig) {
  const int savedErrno = errno;
  for (Slot& slot : slots)
    if (slot.state.load() == kReady) ::unlink(slot.path);
  ::signal(sig, SIG_DFL);
  ::raise(sig);  // delivered with the default action once this handler returns
  errno = savedErrno;
}

// Only where nobody else handles the signal; an ignored SIGHUP stays ignored.
void InstallHandlers() {
  for (int sig : kStopSignals) {
    struct sigaction old {};
    if (::sigaction(sig, nullptr, &old) != 0) continue;
    if ((old.sa_flags & SA_SIGINFO) || old.sa_handler != SIG_DFL) continue;
    struct sigaction action {};
    action.sa_handler = RemoveTemporariesAndStop;
    sigemptyset(&action.sa_mask);
    for (int other : kStopSignals) sigaddset(&action.sa_mask, other);
    ::sigaction(sig, &action, nullptr);
  }
}

void Register(const std::string& name) {
  static std::once_flag installed;
  std::call_once(installed, InstallHandlers);
  if (name.size() >= PATH_MAX) return;
  for (Slot& slot : slots) {
    int expected = kFree;
    if (!slot.state.compare_exchange_strong(expected, kFilling)) continue;
    std::memcpy(slot.path, name.c_str(), name.size() + 1);
    slot.state.store(kReady);
    return;
  }
}

}  // namespace

int OpenNamedTemporary(const std::string& dir, std::string& name) {
  StopSignalsHeld held;
  std::string templ = dir + kTemporaryPrefix + "XXXXXX";
  const int fd = ::mkostemp(templ.data(), O_CLOEXEC);
  if (fd < 0) return -1;
  name = std::move(templ);
  Register(name);
  return fd;
}

void ForgetTemporary(const std::string& name) {
  for (Slot& slot : slots) {
    if (slot.state.load() != kReady || name != slot.path) continue;
    slot.state.store(kFree);
    return;
  }
}

void RemoveTemporary(const std::string& name) {
  StopSignalsHeld held;
  ::unlink(name.c_str());
  ForgetTemporary(name);
}

StopSignalsHeld::StopSignalsHeld() {
  sigset_t stop;
  sigemptyset(&stop);
  for (int sig : kStopSignals) sigaddset(&stop, sig);
  ::pthread_sigmask(SIG_BLOCK, &stop, &saved_);
}

StopSignalsHeld::~StopSignalsHeld() {
  ::pthread_sigmask(SIG_SETMASK, &saved_, nullptr);
}

}  // namespace glyphary
