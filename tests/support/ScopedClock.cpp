#include "support/ScopedClock.h"

namespace kelvora::testing {

// The clock in use before may be the program's steady clock, which is installed back by
// address: the same clock as "none installed".
ScopedClock::ScopedClock(midi::Clock& clock) : previous_(midi::CurrentClock()) {
  midi::SetClock(&clock);
}

ScopedClock::~ScopedClock() { midi::SetClock(&previous_); }

}  // namespace kelvora::testing
