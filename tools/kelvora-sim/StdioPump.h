#pragma once

#include <cstddef>

#include "kelvora-sim/CliOptions.h"
#include "kelvora-sim/ShutdownLatch.h"

namespace kelvora::simcli {

class SamplerHost;

// The sampler on a byte stream: the raw MIDI bytes read from one file descriptor go to the
// sampler as they come, its answers are written to another, nothing else is. Runs until the end
// of the input (after the answers to everything read), a signal or a failed write.
class StdioPump {
 public:
  StdioPump(int input, int output, ShutdownLatch& latch)
      : input_(input), output_(output), latch_(latch) {}

  // The program's exit code: 0 after a clean end, 1 when something failed (said on stderr).
  int Run(const CliOptions& options);

 private:
  enum class End { Input, Shutdown, Failed };
  End Pump(SamplerHost& host, size_t piece);
  void Drain(SamplerHost& host);

  int input_;
  int output_;
  ShutdownLatch& latch_;
};

}  // namespace kelvora::simcli
