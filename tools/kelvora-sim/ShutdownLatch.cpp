#include "kelvora-sim/ShutdownLatch.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>

namespace kelvora::simcli {

namespace {

// What the handler may touch: plain values, set before the handlers are installed.
std::atomic<int> gWriteFd{-1};
std::atomic<int> gSignal{0};

static_assert(std::atomic<int>::is_always_lock_free, "the handler's atomics must be lock-free");

void Latch() {
  const int fd = gWriteFd.load();
  const char byte = 1;
  if (fd >= 0) {
    // A full pipe is readable already; nothing else can go wrong worth knowing in a handler.
    [[maybe_unused]] const ssize_t n = write(fd, &byte, 1);
  }
}

extern "C" void OnSignal(int signal) {
  const int saved = errno;
  int none = 0;
  gSignal.compare_exchange_strong(none, signal);
  Latch();
  errno = saved;
}

bool SetAction(int signal, void (*handler)(int), int flags) {
  struct sigaction action {};
  action.sa_handler = handler;
  action.sa_flags = flags;
  sigemptyset(&action.sa_mask);
  return sigaction(signal, &action, nullptr) == 0;
}

}  // namespace

ShutdownLatch::~ShutdownLatch() {
  if (installed_) {
    SetAction(SIGINT, SIG_DFL, 0);
    SetAction(SIGTERM, SIG_DFL, 0);
    SetAction(SIGPIPE, SIG_DFL, 0);
  }
  gWriteFd.store(-1);
  if (readFd_ >= 0) close(readFd_);
  if (writeFd_ >= 0) close(writeFd_);
}

bool ShutdownLatch::Install(std::string& error) {
  int fds[2];
  if (readFd_ >= 0 || pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
    error = readFd_ >= 0 ? "already installed" : std::strerror(errno);
    return false;
  }
  readFd_ = fds[0];
  writeFd_ = fds[1];
  gWriteFd.store(writeFd_);
  // SA_RESETHAND: the second signal finds the default action again and ends the program.
  installed_ = SetAction(SIGINT, &OnSignal, SA_RESTART | SA_RESETHAND) &&
               SetAction(SIGTERM, &OnSignal, SA_RESTART | SA_RESETHAND) &&
               SetAction(SIGPIPE, SIG_IGN, 0);
  if (!installed_) error = std::strerror(errno);
  return installed_;
}

void ShutdownLatch::Request() { Latch(); }

bool ShutdownLatch::WaitFor(std::chrono::milliseconds limit) const {
  pollfd fd{readFd_, POLLIN, 0};
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    const int result = poll(&fd, 1, static_cast<int>(std::max<int64_t>(left.count(), 0)));
    if (result > 0) return true;
    if (result == 0 || errno != EINTR) return false;
  }
}

void ShutdownLatch::Wait() const {
  pollfd fd{readFd_, POLLIN, 0};
  while (poll(&fd, 1, -1) < 0 && errno == EINTR) {
  }
}

int ShutdownLatch::Signal() const { return gSignal.load(); }

}  // namespace kelvora::simcli
