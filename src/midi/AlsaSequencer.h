#pragma once

#include <alsa/asoundlib.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "midi/AlsaShortCodec.h"
#include "midi/AlsaSysexJoiner.h"

namespace kelvora::midi {

struct AlsaAddress {
  int client = -1;
  int port = -1;
  bool Valid() const { return client >= 0 && port >= 0; }
  bool operator==(const AlsaAddress&) const = default;
};

// One client of the ALSA sequencer with (at most) one port of its own: opens it with room for
// large SysEx traffic, connects it, sends events directly (no queue) and reads input on a
// thread of its own that waits on the sequencer's file descriptor. Sending is thread-safe;
// pacing is left to the caller (AlsaSender). All failures come back as errno values.
class AlsaSequencer {
 public:
  // Called on the input thread. SysEx bytes come joined, in arrival order; `overrun` gets the
  // number of input overruns so far each time the kernel reports one (input was lost). With
  // `portStarted`, the kernel's announcements are taken too: it gets each new port's address.
  struct Handlers {
    std::function<void(const uint8_t* data, size_t length)> sysex;
    std::function<void(uint32_t packed)> shortMessage;
    std::function<void(unsigned total)> overrun;
    std::function<void(AlsaAddress port)> portStarted = nullptr;
  };

  static constexpr unsigned kInputCaps = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;
  static constexpr unsigned kOutputCaps = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ;
  static constexpr unsigned kDuplexCaps = kInputCaps | kOutputCaps | SND_SEQ_PORT_CAP_DUPLEX;
  // alsa-lib buffers, in bytes, and the kernel's input pool, in event cells (its maximum): a
  // 32 KiB message arrives as 128 fragments of 11 cells each.
  static constexpr size_t kOutputBuffer = 64 * 1024;
  static constexpr size_t kInputBuffer = 64 * 1024;
  static constexpr size_t kInputPool = 2000;

  AlsaSequencer() = default;
  ~AlsaSequencer();
  AlsaSequencer(const AlsaSequencer&) = delete;
  AlsaSequencer& operator=(const AlsaSequencer&) = delete;

  // Routes alsa-lib's own error messages (normally printed on stderr) to nowhere; every
  // failure is reported by our results instead. Done once per process by Open.
  static void SilenceLibraryErrors();

  int Open(const std::string& clientName);
  int CreatePort(const std::string& name, unsigned caps);
  void Close();
  bool IsOpen() const { return seq_ != nullptr; }
  snd_seq_t* Handle() const { return seq_; }
  int ClientId() const;
  AlsaAddress Address() const;

  // Subscribes our port to `dest`; events then go to it directly, so that a vanished device
  // is an error rather than a silent drop. Without it, events go to our subscribers.
  int ConnectTo(AlsaAddress dest);
  // Subscribes our port to `source`; input from anyone else is ignored from then on.
  int ConnectFrom(AlsaAddress source);
  // Moves the subscription of ConnectTo to `dest`, for a device that came back elsewhere.
  int Redirect(AlsaAddress dest);
  AlsaAddress Destination();
  // Moves the subscription of ConnectFrom to `source`; only from a handler (the input thread).
  int FollowSource(AlsaAddress source);
  AlsaAddress Source() const { return source_; }

  // One SYSEX event; the caller keeps it small (AlsaSysexChunker).
  int SendSysex(const uint8_t* data, size_t length);
  int SendShort(uint32_t packed);

  int StartInput(Handlers handlers);
  void StopInput();  // never from a handler
  unsigned Overruns() const { return overruns_.load(); }

 private:
  int Deliver(snd_seq_event_t& event);
  void InputLoop();
  int DrainInput();
  void LostInput();
  void Dispatch(const snd_seq_event_t& event);

  snd_seq_t* seq_ = nullptr;
  int port_ = -1;
  AlsaAddress dest_;
  AlsaAddress source_;
  std::mutex outputMutex_;
  AlsaShortCodec outputCodec_;
  AlsaShortCodec inputCodec_;
  Handlers handlers_;
  AlsaSysexJoiner joiner_{[this](const uint8_t* data, size_t length) {
    if (handlers_.sysex) handlers_.sysex(data, length);
  }};
  std::thread input_;
  int wakeFd_ = -1;
  std::atomic<unsigned> overruns_{0};
};

}  // namespace kelvora::midi
