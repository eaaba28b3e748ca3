#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "midi/AlsaSender.h"
#include "midi/AlsaSequencer.h"
#include "midi/DoreRav.h"

namespace kelvora::midi {

// One opened MIDI output: a sequencer client of our own connected to the device's port, with
// a paced sender. Reports each long message's Done; the driver reports open and close. A device
// unplugged and plugged in again is found by its name at the next send.
class AlsaOutputConnection {
 public:
  using Report = std::function<void(OutEvent event)>;

  AlsaOutputConnection(std::string deviceName, Report report);
  ~AlsaOutputConnection();
  AlsaOutputConnection(const AlsaOutputConnection&) = delete;
  AlsaOutputConnection& operator=(const AlsaOutputConnection&) = delete;

  int Open(AlsaAddress device);  // 0 or errno
  void SendLong(const uint8_t* data, size_t length);
  int SendShort(uint32_t packed);
  int ClientId() const { return sequencer_.ClientId(); }

 private:
  void Failed(int error);
  int Send(const std::function<int()>& send);
  bool FollowDevice();

  std::string deviceName_;
  Report report_;
  AlsaSequencer sequencer_;
  std::unique_ptr<AlsaSender> sender_;
};

}  // namespace kelvora::midi
