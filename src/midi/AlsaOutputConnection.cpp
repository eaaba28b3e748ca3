#include "midi/AlsaOutputConnection.h"

#include <alsa/asoundlib.h>

#include <cerrno>
#include <utility>

#include "diagnostics/Debugdevice.h"

namespace kelvora::midi {

AlsaOutputConnection::AlsaOutputConnection(std::string deviceName, Report report)
    : deviceName_(std::move(deviceName)), report_(std::move(report)) {}

AlsaOutputConnection::~AlsaOutputConnection() {
  sender_.reset();  // stops pacing before the client goes
  sequencer_.Close();
}

int AlsaOutputConnection::Open(AlsaAddress device) {
  int error = sequencer_.Open("Kelvora");
  if (!error) error = sequencer_.CreatePort("Output", AlsaSequencer::kOutputCaps);
  if (!error) error = sequencer_.ConnectTo(device);
  if (error) {
    sequencer_.Close();
    return error;
  }
  AlsaSender::Output output{
      [this](const uint8_t* data, size_t length) { return sequencer_.SendSysex(data, length); },
      [this](uint32_t packed) { return sequencer_.SendShort(packed); }};
  AlsaSender::Handlers handlers{[this] { report_(OutEvent::Done); },
                                [this](int failure) { Failed(failure); }};
  sender_ = std::make_unique<AlsaSender>(std::move(output), std::move(handlers));
  return 0;
}

void AlsaOutputConnection::SendLong(const uint8_t* data, size_t length) {
  if (sender_) sender_->SendLong(data, length);
}

int AlsaOutputConnection::SendShort(uint32_t packed) {
  return sender_ ? sender_->SendShort(packed) : EBADF;
}

// The message is not reported done: the port's own time limit then reports the failure.
void AlsaOutputConnection::Failed(int error) {
  diagnostics::DebugLine("ALSA: sending to " + deviceName_ + " failed: " + snd_strerror(error));
}

}  // namespace kelvora::midi
