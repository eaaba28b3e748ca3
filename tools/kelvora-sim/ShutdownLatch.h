#pragma once

#include <chrono>
#include <string>

namespace kelvora::simcli {

// SIGINT, SIGTERM and stop requests from the program's own threads, as one file descriptor that
// becomes readable when the first of them comes and stays readable: poll it beside an input or
// wait on it. A second SIGINT or SIGTERM ends the program at once (the handler is reset after
// the first), for when a clean stop hangs. One per process; SIGPIPE is ignored while it lives,
// so that a reader that has gone is a write error instead of a silent death.
class ShutdownLatch {
 public:
  ShutdownLatch() = default;
  ~ShutdownLatch();
  ShutdownLatch(const ShutdownLatch&) = delete;
  ShutdownLatch& operator=(const ShutdownLatch&) = delete;

  // Installs the signal handlers; false with the reason when it cannot.
  bool Install(std::string& error);

  int Fd() const { return readFd_; }
  // Any thread.
  void Request();
  bool Requested() const { return WaitFor(std::chrono::milliseconds(0)); }
  // True once requested; false when `limit` passed first.
  bool WaitFor(std::chrono::milliseconds limit) const;
  void Wait() const;
  // The signal that set the latch, 0 when none did.
  int Signal() const;

 private:
  int readFd_ = -1;
  int writeFd_ = -1;
  bool installed_ = false;
};

}  // namespace kelvora::simcli
