#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace kelvora::midi {

// Joins incoming SYSEX fragments (the kernel cuts a message into events of up to 256 bytes)
// back into one byte stream in arrival order, so that a message reaches its reader in few
// large pieces instead of many small ones. Bytes are handed on when a fragment ends a message
// (F7), when the buffer is full, and on Flush (the reader calls it when no more input is
// waiting, so nothing is held back). The buffer is allocated once.
class AlsaSysexJoiner {
 public:
  using Sink = std::function<void(const uint8_t* data, size_t length)>;
  static constexpr size_t kDefaultCapacity = 4096;

  explicit AlsaSysexJoiner(Sink sink, size_t capacity = kDefaultCapacity);

  void Add(const uint8_t* data, size_t length);
  void Flush();
  void Clear();  // drops what has not been handed on
  size_t Pending() const { return used_; }

 private:
  Sink sink_;
  std::vector<uint8_t> buffer_;
  size_t used_ = 0;
};

}  // namespace kelvora::midi
