#pragma once

#include <cstdint>
#include <vector>

#include "sim/FaultPlan.h"

namespace kelvora::sim {

// The faults of a plan that damage what the sampler sends: wrong channel, a message cut short,
// a dropped or changed byte. Counts bytes from the moment the plan is armed.
class OutputFaults {
 public:
  void Arm(const FaultPlan& plan);
  // The message as it goes onto the wire; may come back shorter or empty.
  std::vector<uint8_t> Apply(std::vector<uint8_t> message, int channel);

 private:
  void DamageByte(std::vector<uint8_t>& message);

  int64_t sent_ = 0;
  int64_t byteIndex_ = -1;
  bool dropByte_ = true;
  uint8_t replacement_ = 0;
  int wrongChannelMessages_ = 0;
  int cutAfter_ = -1;
};

}  // namespace kelvora::sim
