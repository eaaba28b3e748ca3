#pragma once

#include <string>

#include "midi/LoopbackMidiDriver.h"
#include "sim/SimOptions.h"
#include "sim/SimulatedSampler.h"

namespace kelvora::sim {

// The simulated sampler as a MIDI device: one input and one output, both named "Simulated "
// followed by the model ("Simulated EPS-16 PLUS" by default), on an in-memory cable whose far
// end is the sampler. Listed after the real devices, it is device 0 on a machine without MIDI
// hardware. Paced options pace the cable itself (both directions, 3125 bytes a second), so the
// program's own sends take as long as on a real cable.
class SimMidiDriver : public midi::LoopbackMidiDriver, private midi::LoopbackPeer {
 public:
  explicit SimMidiDriver(const SimOptions& options = {});
  ~SimMidiDriver() override;

  SimulatedSampler& Sampler() { return sampler_; }

  static std::string DeviceName(SamplerModel model);

 private:
  void OnLongMessage(const uint8_t* data, size_t length) override;
  void OnShortMessage(uint32_t packed) override;

  const bool paced_;
  SimulatedSampler sampler_;
};

}  // namespace kelvora::sim
