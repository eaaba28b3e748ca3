#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cli/ConsoleSessionUi.h"
#include "cli/DeviceCatalog.h"
#include "midi/AlsaMidiDriver.h"
#include "midi/DeviceList.h"
#include "protocol/Eps.h"
#include "sim/SimMidiDriver.h"

namespace kelvora::cli {

// How kelvora-cli reaches the sampler: the devices named on the command line (empty: not
// named) over the defaults from the window program's settings.
struct ConnectionOptions {
  std::string device;  // input and output, unless --in or --out name one of them
  std::string in;
  std::string out;
  int defaultIn = 0;  // numbers in the session's per-direction lists; -1 none
  int defaultOut = 0;
  int channel = 1;  // 1..16
  int blockSize = 256;
  int delay = 0;
  std::string simState;   // where the simulated sampler keeps its memory; empty: nowhere
  bool simPaced = false;  // the simulated sampler at the speed of a MIDI cable
};

// The MIDI system (ALSA and, when chosen, the built-in simulated sampler), the session on it and
// the probe that tells whether a sampler answers. Everything is released in reverse order when
// it goes: the ports close, the driver is uninstalled and the simulated sampler saves its state
// file.
class SamplerConnection {
 public:
  explicit SamplerConnection(ConsoleSessionUi& ui);
  ~SamplerConnection();
  SamplerConnection(const SamplerConnection&) = delete;
  SamplerConnection& operator=(const SamplerConnection&) = delete;

  // Takes effect with Open.
  void SetOptions(const ConnectionOptions& options) { options_ = options; }

  // The devices, listed once.
  const DeviceCatalog& Catalog();
  // The per-direction names the window program's settings store (cut to 31 bytes).
  std::vector<std::string> InputNames();
  std::vector<std::string> OutputNames();

  // Chooses the devices, opens the ports and probes the sampler: kExitDone, or the exit code
  // with a sentence in `message` (bad usage for a device that is not there, failed for a port
  // or a state file that cannot be used, no sampler when nothing answers).
  int Open(std::string& message);

  protocol::TEps& Eps() { return *eps_; }
  // The simulated sampler when it is one of the devices in use, else nullptr.
  sim::SimMidiDriver* Simulator() { return simulator_.get(); }
  // "'name', MIDI channel n" of the devices in use, for messages.
  std::string Where() const;

 private:
  int Choose(const std::string& wanted, bool input, int fallback, int& index, std::string& message);
  int StartSimulator(std::string& message);
  int Connect(std::string& message);
  std::string NoAnswerSentence(int reason) const;

  ConnectionOptions options_;
  ConsoleSessionUi& ui_;
  midi::AlsaMidiDriver alsa_;
  std::unique_ptr<DeviceCatalog> catalog_;
  std::unique_ptr<sim::SimMidiDriver> simulator_;
  std::unique_ptr<midi::DeviceList> devices_;
  std::unique_ptr<protocol::TEps> eps_;
  int input_ = -1;
  int output_ = -1;
  std::string inputName_;
  std::string outputName_;
};

}  // namespace kelvora::cli
