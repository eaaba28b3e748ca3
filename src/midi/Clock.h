#pragma once

#include <cstdint>

namespace kelvora::midi {

// The millisecond tick the ports' deadlines run on. The program uses a steady clock; tests
// install a virtual one so that the 5, 10 and 20-second limits pass without waiting.
class Clock {
 public:
  virtual ~Clock() = default;

  virtual uint32_t Now() = 0;  // milliseconds; wraps after about 49.7 days
  virtual void Sleep(uint32_t ms) = 0;
  // Blocks until MidiActivity::Count() differs from `seen` or `ms` milliseconds of this clock
  // have passed; true when activity was seen.
  virtual bool WaitForActivity(uint64_t seen, uint32_t ms) = 0;
};

// Calls on the clock currently installed.
uint32_t TickCount();
void SleepMs(uint32_t ms);

Clock& CurrentClock();
// Installs `clock` for the whole process (not owned); nullptr restores the steady clock.
void SetClock(Clock* clock);

}  // namespace kelvora::midi

// Users of the clock get the deadline helper with it.
#include "midi/Timeout.h"
