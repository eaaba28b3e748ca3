#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "midi/AlsaSequencer.h"
#include "midi/DoreRav.h"

namespace kelvora::midi {

// One opened MIDI input: a sequencer client of our own subscribed to the device's port. Its
// thread reads all the time; input is reported only between Start and Stop (or Reset), and
// once Stop returns no report of this input is still under way. A device unplugged and plugged
// in again is followed to its new address by its name.
class AlsaInputConnection {
 public:
  using Report =
      std::function<void(InEvent event, const uint8_t* data, size_t length, uint32_t shortMessage)>;

  AlsaInputConnection(std::string deviceName, Report report);
  ~AlsaInputConnection();
  AlsaInputConnection(const AlsaInputConnection&) = delete;
  AlsaInputConnection& operator=(const AlsaInputConnection&) = delete;

  int Open(AlsaAddress device);  // 0 or errno
  void Start();
  void Stop();
  int ClientId() const { return sequencer_.ClientId(); }
  unsigned Overruns() const { return sequencer_.Overruns(); }

 private:
  void Deliver(InEvent event, const uint8_t* data, size_t length, uint32_t shortMessage);
  void Overrun(unsigned total);
  void PortStarted(AlsaAddress port);

  std::string deviceName_;
  Report report_;
  std::mutex deliveryMutex_;
  bool started_ = false;
  AlsaSequencer sequencer_;
};

}  // namespace kelvora::midi
