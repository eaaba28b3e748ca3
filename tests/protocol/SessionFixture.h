#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "diagnostics/DebugLogCapture.h"
#include "midi/Clock.h"
#include "protocol/Eps.h"
#include "protocol/SessionRecordingUi.h"
#include "protocol/Sysex.h"
#include "sim/SimMidiDriver.h"
#include "sim/SimOptions.h"

namespace kelvora::testing {

// The bytes of the messages `build` writes, e.g.
// Bytes([](protocol::ByteSink& s) { protocol::SendProbe(s, 1); }).
template <class Build>
std::vector<uint8_t> Bytes(Build build) {
  protocol::VectorSink sink;
  build(sink);
  return sink.bytes;
}

// Everything the debug log wrote while it lived.
using SessionLogCapture = DebugLogCapture;

// A session (TEps) on a simulated sampler over the in-memory cable, in virtual time: the port
// and session limits of 5, 10 and 30 s pass in a short real settle time each. The sampler starts
// empty unless a test derives and overrides Options(). Traffic is checked as the bytes that
// reached the cable.
class SessionFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  virtual sim::SimOptions Options();

  // OpenDevices, then forgets the probe's traffic; false when the sampler was not found.
  bool Connect();
  // Every byte the program sent since the previous call.
  std::vector<uint8_t> TakeSent();
  // Bytes into the program's input, as if the sampler had sent them.
  void SendToProgram(const std::vector<uint8_t>& bytes);
  // Bytes out through the session's output port, as if the session had built them.
  void SendFromProgram(const std::vector<uint8_t>& bytes);
  // The sampler's answer `code` as it sends it: F0 0F 03 ch 01 00 code F7.
  std::vector<uint8_t> Response(int code) const;
  // Until the sampler has handled everything and the cable is quiet.
  void Settle();
  // What a wavesample holds in the sampler's memory.
  std::vector<int16_t> SamplerData(int instrument, int waveSample);

  // Sampler content: an instrument with one layer, and a wavesample with `samples` samples of a
  // ramp whose sample end is `end` (the record's word 119).
  void AddInstrument(int instrument, const std::string& name);
  void AddLayer(int instrument, int layer);
  void AddWaveSample(int instrument, int layer, int waveSample, int samples, int end);

  int Channel() const { return 1; }
  protocol::Target TargetOf(int instrument, int layer, int waveSample) const {
    return protocol::Target{instrument, layer, waveSample};
  }

  midi::FakeClock clock{1000};
  SessionRecordingUi ui;
  std::unique_ptr<sim::SimMidiDriver> driver;
  std::unique_ptr<protocol::TEps> eps;

 private:
  size_t sentSeen_ = 0;
};

}  // namespace kelvora::testing
