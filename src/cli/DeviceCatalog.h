#pragma once

#include <string>
#include <vector>

#include "midi/DeviceMatch.h"

namespace kelvora::cli {

// One MIDI device as kelvora-cli lists it: a name that may be an input, an output or both, with
// its numbers in the session's device lists (the ALSA ports, then the simulated sampler).
struct DeviceRow {
  midi::DeviceName name;
  int input = -1;   // -1: not an input
  int output = -1;  // -1: not an output
  bool simulated = false;
};

// Every MIDI device once, in the order `devices` prints and numbers them (from 1): the ALSA
// ports as inputs list them, then those that are outputs only, then the built-in simulated
// sampler. An input and an output of the same name are one device; two interfaces of the same
// name pair up in order.
class DeviceCatalog {
 public:
  DeviceCatalog(const std::vector<midi::DeviceName>& inputs,
                const std::vector<midi::DeviceName>& outputs, const std::string& simulatorName);

  const std::vector<DeviceRow>& Rows() const { return rows_; }
  // The row `wanted` names: "sim" (any case) for the simulated sampler, else as MatchDevice
  // finds it. The error is a sentence for the user.
  midi::DeviceMatch Find(const std::string& wanted) const;

 private:
  std::vector<DeviceRow> rows_;
};

}  // namespace kelvora::cli
