#include "sim/SimMidiDriver.h"

#include "midi/Clock.h"
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
      paced_(options.paced),
      sampler_(UnpacedSampler(options),
               [this](const uint8_t* data, size_t size) { SendToProgram(data, size); }) {
  if (paced_) SetWireRate(kMidiBytesPerSecond);
  AttachPeer(this);
  sampler_.Start();
}

SimMidiDriver::~SimMidiDriver() {
  AttachPeer(nullptr);
  sampler_.Stop();
}

// A paced cable hands a message on once its last byte has crossed; the sampler dates it by its
// first, as the real machine does, so a block of many seconds is still on time.
void SimMidiDriver::OnLongMessage(const uint8_t* data, size_t length) {
  if (!paced_) {
    sampler_.Receive(data, length);
    return;
  }
  const auto wireMs = static_cast<uint32_t>(WireTimeUs(length) / 1000);
  sampler_.ReceiveStartedAt(data, length, midi::TickCount() - wireMs);
}

void SimMidiDriver::OnShortMessage(uint32_t packed) { sampler_.ReceiveShort(packed); }

}  // namespace kelvora::sim
