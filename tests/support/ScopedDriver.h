#pragma once

#include "midi/MidiDriver.h"

namespace kelvora::testing {

// Installs a MIDI driver for the whole process while it lives and puts back the one that was
// installed before, however the scope is left. Close the ports opened on it first: a port keeps
// the driver it opened a slot on until it closes it.
class ScopedDriver {
 public:
  explicit ScopedDriver(midi::MidiDriver& driver);
  ~ScopedDriver();
  ScopedDriver(const ScopedDriver&) = delete;
  ScopedDriver& operator=(const ScopedDriver&) = delete;

 private:
  midi::MidiDriver& previous_;
};

}  // namespace kelvora::testing
