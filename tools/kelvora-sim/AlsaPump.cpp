#include "kelvora-sim/AlsaPump.h"

#include <alsa/asoundlib.h>

#include <string>

#include "kelvora-sim/Report.h"
#include "kelvora-sim/SamplerHost.h"
#include "midi/AlsaSender.h"
#include "midi/AlsaSequencer.h"

namespace kelvora::simcli {

namespace {

std::string AlsaError(int error) { return snd_strerror(-error); }

// The client and its port, both under the name the user sees in every MIDI program.
int OpenPort(midi::AlsaSequencer& sequencer, const std::string& name) {
  int error = sequencer.Open(name);
  if (error) {
    Report("no ALSA sequencer: " + AlsaError(error));
    return error;
  }
  error = sequencer.CreatePort(name, midi::AlsaSequencer::kDuplexCaps);
  if (error) Report("cannot create the ALSA port \"" + name + "\": " + AlsaError(error));
  return error;
}

}  // namespace

int AlsaPump::Run(const CliOptions& options) {
  const std::string name = PortName(options);
  midi::AlsaSequencer sequencer;
  if (OpenPort(sequencer, name) != 0) return 1;
  // Without a destination of its own the port sends to whoever subscribed to it.
  midi::AlsaSender sender(
      {[&sequencer](const uint8_t* data, size_t length) {
         return sequencer.SendSysex(data, length);
       },
       [&sequencer](uint32_t packed) { return sequencer.SendShort(packed); }},
      {nullptr, [](int error) { Report("an answer could not be sent: " + AlsaError(error)); }});
  SamplerHost host(options,
                   [&sender](const uint8_t* data, size_t size) { sender.SendLong(data, size); });
  if (!host.Start()) return 1;
  const int error = sequencer.StartInput(
      {[&host](const uint8_t* data, size_t length) { host.Receive(data, length); },
       [&host](uint32_t packed) { host.ReceiveShort(packed); },
       [](unsigned total) {
         Report("input was lost: the sequencer overran (" + std::to_string(total) + " times)");
       }});
  if (error) {
    Report("cannot read the ALSA port: " + AlsaError(error));
    host.Stop();
    return 1;
  }
  const midi::AlsaAddress address = sequencer.Address();
  Report("\"" + name + "\" is ALSA port " + std::to_string(address.client) + ":" +
         std::to_string(address.port) + "; Ctrl+C ends");
  latch_.Wait();
  sequencer.StopInput();
  const bool saved = host.Stop();
  sender.Stop();
  return saved ? 0 : 1;
}

}  // namespace kelvora::simcli
