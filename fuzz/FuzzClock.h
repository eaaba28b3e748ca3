#pragma once

#include <cstdint>

#include "midi/Clock.h"

namespace kelvora::fuzz {

// Virtual time that never waits for real. The fuzz cable answers inside the send, so whatever
// will arrive has arrived by the time the program waits: a wait with nothing new lets its whole
// limit pass at once. A run is therefore deterministic and a 10 s byte time-out costs nothing.
class FuzzClock : public midi::Clock {
 public:
  uint32_t Now() override { return now_; }
  void Sleep(uint32_t ms) override { now_ += ms; }
  bool WaitForActivity(uint64_t seen, uint32_t ms) override;

 private:
  uint32_t now_ = 1000;
};

}  // namespace kelvora::fuzz
