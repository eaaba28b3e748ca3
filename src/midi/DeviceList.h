#pragma once

#include <array>
#include <initializer_list>
#include <mutex>
#include <vector>

#include "midi/DoreRav.h"
#include "midi/MidiDriver.h"

namespace kelvora::midi {

// Several backends seen as one driver: each direction lists the first backend's devices, then
// the second's, and so on. Devices keep the numbers of the last listing (InputCount,
// OutputCount) until the next one, as the backends number theirs, so a device plugged in or out
// meanwhile does not shift a later backend's devices under a number the user already chose. A
// slot call goes to the backend that opened that slot.
class DeviceList : public MidiDriver {
 public:
  DeviceList(std::initializer_list<MidiDriver*> backends);
  explicit DeviceList(std::vector<MidiDriver*> backends);

  int InputCount() override;
  std::string InputName(int device) override;
  int OutputCount() override;
  std::string OutputName(int device) override;

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
  using Owners = std::array<MidiDriver*, DoreRav::kSlots>;
  struct Location {
    MidiDriver* backend = nullptr;
    int device = -1;  // the backend's own number
  };

  int List(bool input);
  Location Locate(int device, bool input);
  MidiDriver* Owner(const Owners& owners, int slot);
  void SetOwner(Owners& owners, int slot, MidiDriver* backend);

  std::vector<MidiDriver*> backends_;
  std::mutex mutex_;
  Owners outOwners_{};
  Owners inOwners_{};
  std::vector<int> inputCounts_;  // each backend's, as last listed; empty before the first
  std::vector<int> outputCounts_;
};

}  // namespace kelvora::midi
