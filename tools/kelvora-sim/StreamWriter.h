#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

#include "kelvora-sim/ShutdownLatch.h"

namespace kelvora::simcli {

// Writes the sampler's bytes to a file descriptor (standard output) in full, in order, waiting
// while its reader is slow, until shutdown is requested. When the reader has gone or a write
// fails, it says so once, drops everything from then on and requests shutdown: a pipe with
// nobody at the other end is the end of the conversation.
class StreamWriter {
 public:
  StreamWriter(int fd, ShutdownLatch& latch) : fd_(fd), latch_(latch) {}

  // One thread at a time (the sampler's).
  void Write(const uint8_t* data, size_t size);
  bool Failed() const { return failed_.load(); }

 private:
  bool WaitWritable();
  void Fail(const std::string& reason);

  int fd_;
  ShutdownLatch& latch_;
  std::atomic<bool> failed_{false};
};

}  // namespace kelvora::simcli
