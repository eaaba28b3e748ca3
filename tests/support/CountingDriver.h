#pragma once

#include <vector>

#include "midi/DeviceList.h"

namespace kelvora::testing {

// A device list over real backends that counts every open and close, so a test sees which port
// was reopened on which device.
class CountingDriver : public midi::DeviceList {
 public:
  explicit CountingDriver(std::vector<midi::MidiDriver*> backends) : DeviceList(backends) {}

  int OpenOutput(int device, int slot) override;
  void CloseOutput(int slot) override;
  int OpenInput(int device, int slot) override;
  void CloseInput(int slot) override;

  std::vector<int> inputOpens, outputOpens;  // device numbers
  int inputCloses = 0, outputCloses = 0;
  void Reset();
};

}  // namespace kelvora::testing
