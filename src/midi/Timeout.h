#pragma once

#include <cstdint>

#include "midi/Clock.h"
#include "midi/MidiActivity.h"

namespace kelvora::midi {

// The ports' deadline: a 32-bit millisecond tick on the current clock and a timed-out flag.
class TTimeout {
 public:
  void Start(int seconds);
  void StartMs(uint32_t ms);
  // Reads the clock: timed out once the tick is past the deadline (unsigned 32-bit compare).
  bool Check();
  // The flag as the last Check() left it.
  bool TimedOut() const { return timedOut_; }

  // The ports' wait: loops while `done()` is false and Check() is false, blocking on MIDI
  // activity in between instead of polling; true when `done()` was reached in time.
  template <class Done>
  bool WaitUntil(Done done) {
    for (;;) {
      const uint64_t seen = MidiActivity::Count();
      if (done() || Check()) break;
      BlockForActivity(seen);
    }
    return !TimedOut();
  }

 private:
  void BlockForActivity(uint64_t seen);

  uint32_t deadline_ = 0;
  bool timedOut_ = false;
};

}  // namespace kelvora::midi
