// A batch's rows made by worker processes forked from the caller. Threads of
// one process wait on the font engine's process-wide locks; processes share
// none, so every core works. Rows are handed out in row order through a
// counter in shared memory, and each worker reports each row on a pipe of
// its own, from which the caller counts progress and finds the failures.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/signalfd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <new>
#include <string>
#include <vector>

#include "export/batch_rows.h"

namespace glyphary {
namespace {

// Shared with the workers, in memory they all map.
struct RunCounter {
  std::atomic<std::size_t> next{0};  // the next used row to begin
  std::atomic<bool> stop{false};     // begin no further row
};
static_assert(std::atomic<std::size_t>::is_always_lock_free &&
              std::atomic<bool>::is_always_lock_free);

class SharedCounter {
 public:
  SharedCounter() {
    void* memory = ::mmap(nullptr, sizeof(RunCounter), PROT_READ | PROT_WRITE,
                          MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) throw std::bad_alloc();
    counter_ = new (memory) RunCounter;
  }
  ~SharedCounter() { ::munmap(counter_, sizeof(RunCounter)); }
  SharedCounter(const SharedCounter&) = delete;
  SharedCounter& operator=(const SharedCounter&) = delete;
  RunCounter& operator*() const noexcept { return *counter_; }
  RunCounter* operator->() const noexcept { return counter_; }

 private:
  RunCounter* counter_;
};

// The stop signals, held back for the run and read from a descriptor, so
// that the caller stops the workers before one takes effect. Ignored ones
// are never delivered, so they stay ignored.
class StopSignals {
 public:
  StopSignals() {
    sigemptyset(&set_);
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&set_, sig);
    ::pthread_sigmask(SIG_BLOCK, &set_, &original_);
    fd_ = ::signalfd(-1, &set_, SFD_CLOEXEC | SFD_NONBLOCK);
    if (fd_ < 0) {
      const int err = errno;
      ::pthread_sigmask(SIG_SETMASK, &original_, nullptr);
      throw Error("シグナルを受け取れません (" + ReasonFor(err) + ")");
    }
  }
  ~StopSignals() {
    ::close(fd_);
    ::pthread_sigmask(SIG_SETMASK, &original_, nullptr);
  }
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  int Fd() const noexcept { return fd_; }
  // The mask before the run, for the workers.
  const sigset_t& Original() const noexcept { return original_; }
  // The signal that arrived, or 0.
  int Take() const {
    signalfd_siginfo info{};
    return ::read(fd_, &info, sizeof info) == ssize_t(sizeof info) ? int(info.ssi_signo) : 0;
  }

 private:
  sigset_t set_{}, original_{};
  int fd_ = -1;
};

// What a worker reports, one report for each row it finishes and one for an
// engine that does not start; a message follows for a failure.
enum class Outcome : std::uint8_t { Done, Failed, OutOfMemory };
constexpr std::uint64_t kNoRow = ~std::uint64_t(0);
struct ReportHeader {
  std::uint64_t row = kNoRow;  // index into the used rows
  std::uint32_t length = 0;    // of the message
  Outcome outcome = Outcome::Done;
};

bool WriteAll(int fd, const void* data, std::size_t size) {
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(fd, bytes, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes += n;
    size -= std::size_t(n);
  }
  return true;
}

constexpr char kWorkerDied[] = "作業プロセスが異常終了しました";

// What a worker's wait status says, for the row it left unmade.
std::string DeathMessage(int status) {
  if (WIFSIGNALED(status))
    return std::string(kWorkerDied) + " (シグナル " + std::to_string(WTERMSIG(status)) + ")";
  return std::string(kWorkerDied) + " (終了コード " +
         std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + ")";
}

// A fork copies the calling thread alone, with every lock that another thread
// held at that moment; Pango's own threads are among those (its font map
// starts them). Without /proc nothing can be told.
bool OtherThreadsRun() {
  std::error_code ec;
  std::filesystem::directory_iterator tasks("/proc/self/task", ec);
  if (ec) return false;
  return std::distance(tasks, std::filesystem::directory_iterator()) > 1;
}

struct Worker {
  pid_t pid = -1;
  int fd = -1;          // the read end of its report pipe, -1 once it is closed
  std::string pending;  // bytes of a report not yet whole
};

class WorkerPool {
 public:
  WorkerPool(std::span<const BatchRow> rows, const std::vector<std::size_t>& used,
             const BatchJob& job, int dpi, const EngineMaker& makeEngine)
      : rows_(rows),
        used_(used),
        job_(job),
        dpi_(dpi),
        makeEngine_(makeEngine),
        accounted_(used.size(), false) {}

  // Whatever ends the run, no worker outlives it: each finishes its row and is waited for.
  ~WorkerPool() {
    counter_->stop = true;
    for (Worker& w : workers_) Reap(w);
  }
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  void Start(int jobs, const StopSignals& signals) {
    workers_.reserve(std::size_t(jobs));
    const pid_t parent = ::getpid();
    for (int i = 0; i < jobs; ++i) {
      int ends[2];
      if (::pipe2(ends, O_CLOEXEC) != 0) FailToStart(errno);
      const pid_t pid = ::fork();
      if (pid == 0) {
        ::close(ends[0]);
        WorkerMain(ends[1], parent, signals);
      }
      const int err = errno;
      ::close(ends[1]);
      if (pid < 0) {
        ::close(ends[0]);
        FailToStart(err);
      }
      ::fcntl(ends[0], F_SETFL, O_NONBLOCK);
      workers_.push_back({pid, ends[0], {}});
    }
  }

  // Reads the reports until every worker has ended; returns the stop signal
  // that ended the run early, or 0.
  int Watch(const StopSignals& signals, const BatchProgress& progress) {
    std::vector<pollfd> polled;
    for (;;) {
      polled.assign(1, {signals.Fd(), POLLIN, 0});
      for (const Worker& w : workers_)
        if (w.fd >= 0) polled.push_back({w.fd, POLLIN, 0});
      if (polled.size() == 1) break;
      if (::poll(polled.data(), polled.size(), -1) < 0 && errno != EINTR)
        throw Error("作業プロセスを待てません (" + ReasonFor(errno) + ")");
      if (polled[0].revents != 0)
        if (const int sig = signals.Take()) {
          Terminate();
          return sig;
        }
      for (Worker& w : workers_)
        if (w.fd >= 0 && Ready(polled, w.fd)) ReadReports(w, progress);
    }
    FailLostRows();
    return 0;
  }

  std::size_t Written() const noexcept { return written_; }
  const BatchFailures& Failures() const noexcept { return failures_; }

 private:
  [[noreturn]] void FailToStart(int err) {
    throw Error("作業プロセスを作れません (" + ReasonFor(err) + ")");
  }

  static bool Ready(const std::vector<pollfd>& polled, int fd) {
    for (const pollfd& p : polled)
      if (p.fd == fd) return p.revents != 0;
    return false;
  }

  // ---- in the worker

  [[noreturn]] void WorkerMain(int reportFd, pid_t parent, const StopSignals& signals) noexcept {
    // Dies with the caller, which alone could clean up after it.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent) ::_exit(1);
    ::close(signals.Fd());
    for (const Worker& w : workers_) ::close(w.fd);
    ::pthread_sigmask(SIG_SETMASK, &signals.Original(), nullptr);
    try {
      MakeRows(reportFd);
    } catch (...) {
      ::_exit(1);
    }
    // Never returns into the caller's copy, nor runs its exit handlers.
    ::_exit(0);
  }

  void MakeRows(int reportFd) {
    std::unique_ptr<FontEngine> engine;
    if (!Attempt(reportFd, kNoRow, [&] { engine = makeEngine_(dpi_); })) return;
    while (!counter_->stop) {
      const std::size_t i = counter_->next++;
      if (i >= used_.size()) return;
      if (!Attempt(reportFd, i, [&] { MakeRow(rows_[used_[i]], job_, *engine); })) return;
    }
  }

  // Runs one step and reports its outcome; false when it failed.
  template <typename Step>
  static bool Attempt(int reportFd, std::uint64_t row, const Step& step) {
    try {
      step();
      if (row != kNoRow) Report(reportFd, {row, 0, Outcome::Done}, {});
      return true;
    } catch (const std::bad_alloc&) {
      Report(reportFd, {row, 0, Outcome::OutOfMemory}, {});
    } catch (const std::exception& e) {
      Report(reportFd, {row, std::uint32_t(std::strlen(e.what())), Outcome::Failed}, e.what());
    }
    return false;
  }

  static void Report(int reportFd, const ReportHeader& header, std::string_view message) {
    std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
    bytes += message;
    if (!WriteAll(reportFd, bytes.data(), bytes.size())) ::_exit(1);
  }

  // ---- in the caller

  void ReadReports(Worker& w, const BatchProgress& progress) {
    char buffer[4096];
    const ssize_t n = ::read(w.fd, buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) return;
    if (n <= 0) {
      Reap(w);
      return;
    }
    w.pending.append(buffer, std::size_t(n));
    ReportHeader header;
    while (w.pending.size() >= sizeof header) {
      std::memcpy(&header, w.pending.data(), sizeof header);
      if (w.pending.size() < sizeof header + header.length) break;
      const std::string message = w.pending.substr(sizeof header, header.length);
      w.pending.erase(0, sizeof header + header.length);
      Take(header, message, progress);
    }
  }

  void Take(const ReportHeader& header, const std::string& message, const BatchProgress& progress) {
    const std::optional<std::size_t> row =
        header.row == kNoRow ? std::nullopt : std::optional<std::size_t>(header.row);
    if (row) accounted_.at(*row) = true;
    switch (header.outcome) {
      case Outcome::Done:
        ++written_;
        if (progress) progress(written_, used_.size());
        return;
      case Outcome::Failed:
        Fail(row, std::make_exception_ptr(Error(message)));
        return;
      case Outcome::OutOfMemory:
        Fail(row, std::make_exception_ptr(std::bad_alloc()));
        return;
    }
  }

  void Fail(std::optional<std::size_t> row, std::exception_ptr error) {
    counter_->stop = true;
    failures_.Add(row, std::move(error));
  }

  // Closes the worker's pipe and waits for it; one that died takes the row
  // it was making down with it.
  void Reap(Worker& w) {
    if (w.fd >= 0) ::close(w.fd);
    w.fd = -1;
    if (w.pid < 0) return;
    int status = 0;
    while (::waitpid(w.pid, &status, 0) < 0 && errno == EINTR) {
    }
    w.pid = -1;
    if (!(WIFEXITED(status) && WEXITSTATUS(status) == 0) && deathMessage_.empty()) {
      deathMessage_ = DeathMessage(status);
      counter_->stop = true;
    }
  }

  // A row begun and never reported was being made by a worker that died; and
  // a run that stopped for a death alone fails at the first row it left
  // unmade. Rows never begun after a failure are no loss.
  void FailLostRows() {
    const auto unmade = std::find(accounted_.begin(), accounted_.end(), false);
    if (unmade == accounted_.end()) return;
    const std::size_t row = std::size_t(unmade - accounted_.begin());
    if (row < counter_->next.load() || !failures_.Any())
      Fail(row,
           std::make_exception_ptr(Error(deathMessage_.empty() ? kWorkerDied : deathMessage_)));
  }

  // On a stop signal: no further row, and the rows under way are left unmade.
  void Terminate() {
    counter_->stop = true;
    for (const Worker& w : workers_)
      if (w.pid > 0) ::kill(w.pid, SIGTERM);
    for (Worker& w : workers_) Reap(w);
  }

  std::span<const BatchRow> rows_;
  const std::vector<std::size_t>& used_;
  const BatchJob& job_;
  int dpi_;
  const EngineMaker& makeEngine_;
  SharedCounter counter_;
  std::vector<Worker> workers_;
  std::vector<bool> accounted_;
  std::size_t written_ = 0;
  std::string deathMessage_;
  BatchFailures failures_;
};

}  // namespace

std::size_t ProduceInProcesses(std::span<const BatchRow> rows, const std::vector<std::size_t>& used,
                               const BatchJob& job, int jobs, int dpi,
                               const BatchProgress& progress, const EngineMaker& makeEngine) {
  if (OtherThreadsRun())
    throw Error("作業プロセスを作れません (このプロセスでは他のスレッドが動いています)");
  int stopSignal = 0;
  std::size_t written = 0;
  {
    // The workers are gone before the signals are let through again.
    const StopSignals signals;
    WorkerPool pool(rows, used, job, dpi, makeEngine);
    pool.Start(jobs, signals);
    stopSignal = pool.Watch(signals, progress);
    if (!stopSignal && pool.Failures().Any()) pool.Failures().Rethrow(used);
    written = pool.Written();
  }
  if (stopSignal) {
    // Held back until the workers were gone; now it has its usual effect.
    ::raise(stopSignal);
    throw Error("大量生産を中断しました");
  }
  return written;
}

}  // namespace glyphary
