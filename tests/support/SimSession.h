#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "protocol/Eps.h"
#include "protocol/Sysex.h"
#include "sim/SamplerLog.h"
#include "sim/SimMidiDriver.h"
#include "sim/SimOptions.h"
#include "support/FakeClock.h"
#include "support/ScopedClock.h"
#include "support/ScopedDriver.h"
#include "support/SessionRecordingUi.h"

namespace kelvora::testing {

// The bytes of the messages `build` writes, e.g.
// Bytes([](protocol::ByteSink& s) { protocol::SendProbe(s, 1); }).
template <class Build>
std::vector<uint8_t> Bytes(Build build) {
  protocol::VectorSink sink;
  build(sink);
  return sink.bytes;
}

// A session (TEps) on a simulated sampler over the in-memory cable, in virtual time: the port
// and session limits of 5, 10 and 30 s pass in a short real settle time each. It installs the
// MIDI clock and driver for the whole process, so one lives at a time. Traffic is checked as
// the bytes that reached the cable. GoogleTest fixtures derive from SessionFixture; window tests
// hold one as a member or a local.
class SimSession {
 public:
  static constexpr int kChannel = 1;
  // Long enough for the sampler's thread to answer on a loaded machine; a real time-out
  // costs it.
  static constexpr std::chrono::milliseconds kSettleTime{300};

  // A sampler on channel kChannel, empty or with the demo instruments (0..2).
  static sim::SimOptions EmptyOptions();
  static sim::SimOptions DemoOptions();

  SimSession() : SimSession(EmptyOptions()) {}
  explicit SimSession(const sim::SimOptions& options);
  virtual ~SimSession();
  SimSession(const SimSession&) = delete;
  SimSession& operator=(const SimSession&) = delete;

  // OpenDevices, then forgets the probe's traffic; false when the sampler was not found.
  bool Connect();
  // Until the sampler has handled everything and the cable is quiet.
  void Settle();
  // Every byte the program sent since the previous call, once the cable is quiet.
  std::vector<uint8_t> TakeSent();
  // Bytes into the program's input, as if the sampler had sent them.
  void SendToProgram(const std::vector<uint8_t>& bytes);
  // Bytes out through the session's output port, as if the session had built them.
  void SendFromProgram(const std::vector<uint8_t>& bytes);
  // The sampler's answer `code` as it sends it: F0 0F 03 ch 01 00 code F7.
  std::vector<uint8_t> Response(int code) const;
  // From here on the ports wait in real time (for a sampler paced at MIDI speed).
  void UseRealTime();

  // Sampler content: an instrument, a layer, and a wavesample of `samples` samples of a ramp
  // that wraps at the 16-bit limits, with its sample end at `end` (the record's word 119);
  // start 0, no loop.
  void AddInstrument(int instrument, const std::string& name);
  void AddLayer(int instrument, int layer);
  void AddWaveSample(int instrument, int layer, int waveSample, int samples, int end);
  void AddParameterCopy(int instrument, int layer, int waveSample, int source);
  void SetWsWord(int instrument, int waveSample, int index, int value);
  void RemoveInstrument(int instrument);

  // What the sampler holds, once it has handled everything sent so far.
  std::vector<int16_t> SamplerData(int instrument, int waveSample);
  std::string InstrumentName(int instrument);  // as the sampler's record spells it
  bool HasWaveSample(int instrument, int waveSample);
  std::vector<sim::NoteEvent> Notes();
  std::vector<int> ProgramChanges();
  std::vector<sim::LoggedMessage> Messages();
  void ClearLog();

  // Makes the wavesample current and opens it for editing; OpenWs's result.
  int Open(int instrument, int waveSample);

  int Channel() const { return kChannel; }
  protocol::Target TargetOf(int instrument, int layer, int waveSample) const {
    return protocol::Target{instrument, layer, waveSample};
  }

  FakeClock clock{1000};
  SessionRecordingUi ui;
  std::unique_ptr<sim::SimMidiDriver> driver;
  std::unique_ptr<protocol::TEps> eps;

 protected:
  struct NotStarted {};
  explicit SimSession(NotStarted) {}
  // Installs the clock and a driver from MakeDriver, and makes the session on device 0.
  void Start(const sim::SimOptions& options);
  // Ends the session, then restores the driver and the clock; safe after a partial Start.
  void Stop();
  virtual std::unique_ptr<sim::SimMidiDriver> MakeDriver(const sim::SimOptions& options);

 private:
  template <class Action>
  auto WithMemory(Action action);

  std::optional<ScopedClock> useClock_;
  std::optional<ScopedDriver> useDriver_;
  size_t sentSeen_ = 0;
};

}  // namespace kelvora::testing
