#pragma once

#include <chrono>
#include <cstddef>

namespace kelvora::midi {

// Wire-time bookkeeping of one MIDI output. The sequencer hands events to the kernel at once,
// but the MIDI cable takes kByteTime per byte and a USB interface buffers only 4 KiB in the
// kernel; anything beyond is dropped. The pacer keeps the bytes handed over at most maxAhead
// ahead of the wire and tells when the last of them will have left.
class AlsaWirePacer {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::microseconds kByteTime{320};  // 10 bits at 31250 baud
  static constexpr size_t kMaxAhead = 1024;

  explicit AlsaWirePacer(std::chrono::nanoseconds byteTime = kByteTime,
                         size_t maxAhead = kMaxAhead);

  // Earliest moment, not before now, at which `bytes` more may be handed over. A block larger
  // than maxAhead waits for an idle wire.
  Clock::time_point ReadyAt(size_t bytes, Clock::time_point now) const;
  // Books `bytes` handed over at `at`; returns the moment their last byte has left.
  Clock::time_point Sent(size_t bytes, Clock::time_point at);
  // When everything booked so far has left (in the past once the wire is idle).
  Clock::time_point WireIdleAt() const { return wireIdle_; }
  size_t BytesAhead(Clock::time_point now) const;
  std::chrono::nanoseconds ByteTime() const { return byteTime_; }
  void Reset() { wireIdle_ = Clock::time_point{}; }

 private:
  std::chrono::nanoseconds byteTime_;
  size_t maxAhead_;
  Clock::time_point wireIdle_{};
};

}  // namespace kelvora::midi
