#include "sim/SimMidiDriver.h"

#include "sim/WireTiming.h"

namespace kelvora::sim {

namespace {

constexpr unsigned kMidiBytesPerSecond = 1000000 / kByteTimeUs;

// The cable paces; the sampler itself then only adds its processing latencies.
SimOptions UnpacedSampler(SimOptions options) {
  options.paced = false;
  return options;
}

}  // namespace

std::string SimMidiDriver::DeviceName(SamplerModel model) {
  return "Simulated " + ModelName(model);
}

SimMidiDriver::SimMidiDriver(const SimOptions& options)
    : LoopbackMidiDriver(DeviceName(options.model)),
      sampler_(UnpacedSampler(options),
               [this](const uint8_t* data, size_t size) { SendToProgram(data, size); }) {
  if (options.paced) SetWireRate(kMidiBytesPerSecond);
  AttachPeer(this);
  sampler_.Start();
}

SimMidiDriver::~SimMidiDriver() {
  AttachPeer(nullptr);
  sampler_.Stop();
}

void SimMidiDriver::OnLongMessage(const uint8_t* data, size_t length) {
  sampler_.Receive(data, length);
}

void SimMidiDriver::OnShortMessage(uint32_t packed) { sampler_.ReceiveShort(packed); }

}  // namespace kelvora::sim
