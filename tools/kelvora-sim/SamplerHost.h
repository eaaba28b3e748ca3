#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "kelvora-sim/CliOptions.h"
#include "sim/SimulatedSampler.h"

namespace kelvora::simcli {

// The simulated sampler as the program runs it: its state file checked before it starts, the
// faults of the command line armed, its state saved when it stops. Problems are reported on
// standard error as they are found.
class SamplerHost {
 public:
  SamplerHost(const CliOptions& options, sim::SimulatedSampler::Output output);
  ~SamplerHost();
  SamplerHost(const SamplerHost&) = delete;
  SamplerHost& operator=(const SamplerHost&) = delete;

  // False when it cannot run: a state file that exists but cannot be read (it is left as it
  // is), or one that could not be saved where it is asked for.
  bool Start();
  // Bytes from the host, and packed short messages; any thread, after Start.
  void Receive(const uint8_t* data, size_t size);
  void ReceiveShort(uint32_t packed);
  // True once everything received has been answered.
  bool WaitIdle(std::chrono::milliseconds limit);
  // Stops the sampler and saves the state file; false when saving failed.
  bool Stop();

 private:
  bool CheckStateDirectory() const;

  CliOptions options_;
  sim::SimulatedSampler::Output output_;
  std::unique_ptr<sim::SimulatedSampler> sampler_;
};

}  // namespace kelvora::simcli
