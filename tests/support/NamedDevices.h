#pragma once

#include <string>
#include <vector>

#include "midi/MidiDriver.h"

namespace kelvora::testing {

// Device lists with fixed names; nothing opens on it.
class NamedDevices : public midi::MidiDriver {
 public:
  std::vector<std::string> inputs;
  std::vector<std::string> outputs;

  int InputCount() override { return static_cast<int>(inputs.size()); }
  std::string InputName(int device) override { return inputs.at(device); }
  int OutputCount() override { return static_cast<int>(outputs.size()); }
  std::string OutputName(int device) override { return outputs.at(device); }
  int OpenOutput(int, int) override { return 2; }
  void CloseOutput(int) override {}
  void SendLong(int, const uint8_t*, size_t) override {}
  int SendShort(int, uint32_t) override { return 0; }
  int OpenInput(int, int) override { return 2; }
  void StartInput(int) override {}
  void StopInput(int) override {}
  void ResetInput(int) override {}
  void CloseInput(int) override {}
};

}  // namespace kelvora::testing
