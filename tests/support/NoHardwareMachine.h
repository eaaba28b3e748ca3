#pragma once

#include "midi/DeviceList.h"
#include "sim/SimMidiDriver.h"
#include "sim/SimOptions.h"
#include "support/NamedDevices.h"
#include "support/ScopedDriver.h"

namespace kelvora::testing {

// The MIDI devices of a machine without MIDI hardware, as the program sees them while the object
// lives: no real device, then the simulated sampler (made with `options`), so the sampler is
// device 0 in both lists.
class NoHardwareMachine {
 public:
  explicit NoHardwareMachine(const sim::SimOptions& options = {});
  NoHardwareMachine(const NoHardwareMachine&) = delete;
  NoHardwareMachine& operator=(const NoHardwareMachine&) = delete;

  sim::SimMidiDriver& Sampler() { return sampler_; }

 private:
  NamedDevices hardware_;
  sim::SimMidiDriver sampler_;
  midi::DeviceList devices_;
  ScopedDriver useDevices_;
};

}  // namespace kelvora::testing
