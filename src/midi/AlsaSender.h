#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "midi/AlsaWirePacer.h"

namespace kelvora::midi {

// Paced output of one MIDI port, on a thread of its own. A long message is copied, cut into
// events (AlsaSysexChunker) and handed over no more than the pacer's limit ahead of the wire;
// `done` is called once its last byte's wire time has passed. Short messages go at once when
// the wire allows; while a long one is on its way they queue behind it, so that they never
// land inside a SysEx on the wire, and a burst of them is paced like SysEx.
class AlsaSender {
 public:
  struct Output {
    std::function<int(const uint8_t* data, size_t length)> sysex;  // one event; 0 or errno
    std::function<int(uint32_t packed)> shortMessage;              // 0 or errno
  };
  struct Handlers {
    std::function<void()> done;             // per long message, in order
    std::function<void(int error)> failed;  // a long message was given up; no `done` for it
  };
  // How often, and how long apart, an event refused for want of room (a slow receiving
  // client) is tried again before the message is given up.
  static constexpr int kRetries = 50;
  static constexpr std::chrono::milliseconds kRetryPause{20};

  AlsaSender(Output output, Handlers handlers, AlsaWirePacer pacer = AlsaWirePacer());
  ~AlsaSender();
  AlsaSender(const AlsaSender&) = delete;
  AlsaSender& operator=(const AlsaSender&) = delete;

  void SendLong(const uint8_t* data, size_t length);
  // 0, EINVAL for what is no whole short message, or the output's error when sent at once.
  int SendShort(uint32_t packed);
  // Abandons what is queued (no `done` for it) and ends a SysEx cut off on the wire with F7,
  // so the receiver does not take what follows as part of it. Sends nothing afterwards.
  void Stop();
  bool Idle() const;

 private:
  struct Job {
    std::vector<uint8_t> bytes;
    uint32_t packed = 0;
    bool isShort = false;
  };

  void Run();
  int RunShort(std::unique_lock<std::mutex>& lock, uint32_t packed);
  int RunLong(std::unique_lock<std::mutex>& lock, const std::vector<uint8_t>& bytes);
  int EmitSysex(std::unique_lock<std::mutex>& lock, const uint8_t* data, size_t length);
  int EmitShort(uint32_t packed);
  bool WaitUntil(std::unique_lock<std::mutex>& lock, AlsaWirePacer::Clock::time_point when);
  void TrackSysex(const uint8_t* data, size_t length);

  Output output_;
  Handlers handlers_;
  AlsaWirePacer pacer_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Job> queue_;
  std::vector<std::vector<uint8_t>> spare_;  // buffers of earlier messages, reused
  bool busy_ = false;
  bool stopping_ = false;
  bool insideSysex_ = false;  // the wire has had an F0 and not yet its F7
  std::thread thread_;
};

}  // namespace kelvora::midi
