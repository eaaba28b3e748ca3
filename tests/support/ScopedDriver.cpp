#include "support/ScopedDriver.h"

#include "midi/MidiSystem.h"

namespace kelvora::testing {

// The driver in use before may be the empty one with no devices, which is installed back by
// address: the same driver as "none installed".
ScopedDriver::ScopedDriver(midi::MidiDriver& driver) : previous_(midi::CurrentDriver()) {
  midi::SetDriver(&driver);
}

ScopedDriver::~ScopedDriver() { midi::SetDriver(&previous_); }

}  // namespace kelvora::testing
