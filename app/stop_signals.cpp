#include "app/stop_signals.h"

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>

#include <array>
#include <cerrno>

namespace glyphary::app {
namespace {

constexpr std::array<int, 3> kStopSignals = {SIGTERM, SIGHUP, SIGINT};

// [0] is read by the event loop, [1] written by the handler.
int pipeEnds[2] = {-1, -1};

void Note(int sig) {
  const int savedErrno = errno;
  const char byte = char(sig);
  [[maybe_unused]] const ssize_t n = ::write(pipeEnds[1], &byte, 1);
  errno = savedErrno;
}

}  // namespace

void CatchStopSignals() {
  if (pipeEnds[0] >= 0) return;
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pipeEnds) != 0) return;
  for (int sig : kStopSignals) {
    struct sigaction old {};
    if (::sigaction(sig, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = Note;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(sig, &action, nullptr);
  }
}

StopSignalWatcher::StopSignalWatcher(QObject* parent) : QObject(parent) {
  if (pipeEnds[0] < 0) return;
  notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &StopSignalWatcher::Drain);
}

void StopSignalWatcher::Drain() {
  char bytes[16];
  while (::read(pipeEnds[0], bytes, sizeof bytes) > 0) {
  }
  QCoreApplication::quit();
}

}  // namespace glyphary::app
