#include "midi/AlsaInputConnection.h"

#include <utility>

#include "diagnostics/Debugdevice.h"
#include "midi/AlsaPortList.h"

namespace kelvora::midi {

AlsaInputConnection::AlsaInputConnection(std::string deviceName, Report report)
    : deviceName_(std::move(deviceName)), report_(std::move(report)) {}

AlsaInputConnection::~AlsaInputConnection() { sequencer_.Close(); }

int AlsaInputConnection::Open(AlsaAddress device) {
  int error = sequencer_.Open("Kelvora");
  if (!error) error = sequencer_.CreatePort("Input", AlsaSequencer::kInputCaps);
  if (!error) error = sequencer_.ConnectFrom(device);
  if (!error) {
    AlsaSequencer::Handlers handlers{
        [this](const uint8_t* data, size_t length) { Deliver(InEvent::LongData, data, length, 0); },
        [this](uint32_t packed) { Deliver(InEvent::ShortData, nullptr, 0, packed); },
        [this](unsigned total) { Overrun(total); },
        [this](AlsaAddress port) { PortStarted(port); }};
    error = sequencer_.StartInput(std::move(handlers));
  }
  if (error) sequencer_.Close();
  return error;
}

void AlsaInputConnection::Start() {
  std::lock_guard lock(deliveryMutex_);
  started_ = true;
}

void AlsaInputConnection::Stop() {
  std::lock_guard lock(deliveryMutex_);
  started_ = false;
}

void AlsaInputConnection::Deliver(InEvent event, const uint8_t* data, size_t length,
                                  uint32_t shortMessage) {
  std::lock_guard lock(deliveryMutex_);
  if (started_) report_(event, data, length, shortMessage);
}

void AlsaInputConnection::Overrun(unsigned total) {
  diagnostics::DebugLine("ALSA: input overrun on " + deviceName_ + ", input lost (" +
                         std::to_string(total) + " so far)");
  Deliver(InEvent::Overrun, nullptr, 0, 0);
}

// A new port of the device's name, while the device's old port is gone: the device came back
// under another number. With the old port still there it is a second device of that name.
void AlsaInputConnection::PortStarted(AlsaAddress port) {
  snd_seq_t* seq = sequencer_.Handle();
  const AlsaAddress old = sequencer_.Source();
  if (port == old || AlsaPortList::NameAt(seq, old.client, old.port)) return;
  if (AlsaPortList::NameAt(seq, port.client, port.port) != deviceName_) return;
  if (sequencer_.FollowSource(port) != 0) return;
  diagnostics::DebugLine("ALSA: " + deviceName_ + " is back as " + std::to_string(port.client) +
                         ":" + std::to_string(port.port) + "; input follows it");
}

}  // namespace kelvora::midi
