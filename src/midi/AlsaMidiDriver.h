#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "midi/AlsaInputConnection.h"
#include "midi/AlsaOutputConnection.h"
#include "midi/AlsaPortList.h"
#include "midi/DoreRav.h"
#include "midi/MidiDriver.h"

namespace kelvora::midi {

// The MIDI system on Linux: the ALSA sequencer, spoken to directly through alsa-lib. Devices
// are the sequencer ports of other clients (AlsaPortList), numbered as last listed and found
// again by name when opened. Each opened device gets a sequencer client of its own. Without a
// sequencer (/dev/snd/seq missing) there are no devices and every open fails with its errno.
class AlsaMidiDriver : public MidiDriver {
 public:
  // Where open, close, done and input are reported; by default the companion library.
  struct Reports {
    std::function<void(int slot, OutEvent event)> output;
    std::function<void(int slot, InEvent event, const uint8_t* data, size_t length,
                       uint32_t shortMessage)>
        input;
  };

  AlsaMidiDriver();
  explicit AlsaMidiDriver(Reports reports);
  ~AlsaMidiDriver() override;
  AlsaMidiDriver(const AlsaMidiDriver&) = delete;
  AlsaMidiDriver& operator=(const AlsaMidiDriver&) = delete;

  int InputCount() override;
  std::string InputName(int device) override;
  int OutputCount() override;
  std::string OutputName(int device) override;

  // The devices listed afresh, numbered as the counts above number them, with their names
  // uncut (InputName and OutputName are cut to 31 bytes for the windows' pickers).
  std::vector<DeviceName> InputDevices();
  std::vector<DeviceName> OutputDevices();

  int OpenOutput(int device, int slot) override;
  void CloseOutput(int slot) override;
  void SendLong(int slot, const uint8_t* data, size_t length) override;
  int SendShort(int slot, uint32_t packed) override;

  int OpenInput(int device, int slot) override;
  void StartInput(int slot) override;
  void StopInput(int slot) override;
  void ResetInput(int slot) override;
  void CloseInput(int slot) override;

 private:
  std::vector<AlsaPortInfo>& Listed(AlsaDirection direction);
  std::vector<AlsaPortInfo> Scan(AlsaDirection direction);
  std::string NameOf(AlsaDirection direction, int device);
  std::vector<DeviceName> Relist(AlsaDirection direction);
  int Locate(AlsaDirection direction, int device, AlsaPortInfo& found);
  std::vector<int> OwnClients() const;
  AlsaInputConnection* Input(int slot);

  Reports reports_;
  std::mutex mutex_;
  std::vector<AlsaPortInfo> inputs_;
  std::vector<AlsaPortInfo> outputs_;
  std::array<std::unique_ptr<AlsaOutputConnection>, DoreRav::kSlots> outputSlots_;
  std::array<std::unique_ptr<AlsaInputConnection>, DoreRav::kSlots> inputSlots_;
};

}  // namespace kelvora::midi
