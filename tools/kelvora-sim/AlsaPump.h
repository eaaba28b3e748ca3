#pragma once

#include "kelvora-sim/CliOptions.h"
#include "kelvora-sim/ShutdownLatch.h"

namespace kelvora::simcli {

// The sampler on an ALSA sequencer client of its own with one duplex port, which any MIDI
// program can connect to. Its answers go to every subscriber of the port through Kelvora's
// paced sender (events of at most 256 bytes, never more than the pacer allows ahead of a
// 31250-baud wire, so a receiver or a hardware port behind it is never overrun); input from any
// client comes joined by the sequencer's input thread. Runs until a signal.
class AlsaPump {
 public:
  explicit AlsaPump(ShutdownLatch& latch) : latch_(latch) {}

  // The program's exit code: 0 after a clean end, 1 without a sequencer or when the state
  // could not be read or saved (said on stderr).
  int Run(const CliOptions& options);

 private:
  ShutdownLatch& latch_;
};

}  // namespace kelvora::simcli
