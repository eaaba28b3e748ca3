#pragma once

#include <atomic>
#include <cstdint>

#include "midi/Clock.h"
#include "midi/LoopbackMidiDriver.h"

namespace kelvora::fuzz {

// Virtual time that never waits for real: a wait for MIDI activity first lets the loopback cable
// deliver everything queued in both directions, and only when nothing arrived does the whole
// limit pass at once. A run is therefore deterministic and a 10 s byte time-out costs microseconds.
class FuzzClock : public midi::Clock {
 public:
  explicit FuzzClock(midi::LoopbackMidiDriver& cable) : cable_(cable) {}

  uint32_t Now() override { return now_.load(); }
  void Sleep(uint32_t ms) override { now_ += ms; }
  bool WaitForActivity(uint64_t seen, uint32_t ms) override;

 private:
  midi::LoopbackMidiDriver& cable_;
  std::atomic<uint32_t> now_{1000};
};

}  // namespace kelvora::fuzz
