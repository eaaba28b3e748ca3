#include "midi/AlsaOutputConnection.h"

#include <alsa/asoundlib.h>

#include <cerrno>
#include <utility>

#include "diagnostics/Debugdevice.h"
#include "midi/AlsaPortList.h"

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
      [this](const uint8_t* data, size_t length) {
        return Send([&] { return sequencer_.SendSysex(data, length); });
      },
      [this](uint32_t packed) { return Send([&] { return sequencer_.SendShort(packed); }); }};
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

// ENOENT: the port sent to is gone. Once the device is found again, the event goes there.
int AlsaOutputConnection::Send(const std::function<int()>& send) {
  const int error = send();
  return error == ENOENT && FollowDevice() ? send() : error;
}

bool AlsaOutputConnection::FollowDevice() {
  const AlsaAddress old = sequencer_.Destination();
  const std::vector<AlsaPortInfo> ports =
      AlsaPortList::Scan(sequencer_.Handle(), AlsaDirection::Output, {});
  const auto port = AlsaPortList::Find(ports, {{deviceName_, old.client, old.port}}, 0);
  if (!port || AlsaAddress{port->client, port->port} == old) return false;
  if (sequencer_.Redirect({port->client, port->port}) != 0) return false;
  diagnostics::DebugLine("ALSA: " + deviceName_ + " is back as " + std::to_string(port->client) +
                         ":" + std::to_string(port->port) + "; output follows it");
  return true;
}

}  // namespace kelvora::midi
