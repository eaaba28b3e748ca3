#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "midi/FakeClock.h"
#include "protocol/Eps.h"
#include "protocol/Sysex.h"
#include "sim/SamplerLog.h"
#include "sim/SimMidiDriver.h"

namespace kelvora::testing {

// The bytes of the messages `build` writes.
template <class Build>
std::vector<uint8_t> Bytes(Build build) {
  protocol::VectorSink sink;
  build(sink);
  return sink.bytes;
}

// The user interface the session calls back, forwarding RefreshView to whatever a test hangs on
// it (the waveform view) and counting the rest.
class ForwardingUi : public protocol::SessionUi {
 public:
  void BeginWait() override {}
  void EndWait() override {}
  void UpdateCommands() override { ++updateCommands; }
  void RefreshView() override {
    if (onRefreshView) onRefreshView();
  }
  int ShowNoEps(protocol::TNoEpsReason) override { return protocol::mrOk; }
  void ShowInvalidWaveSample() override { ++invalidWaveSampleBoxes; }
  void ShowWaveSampleIsCopy() override { ++waveSampleIsCopyBoxes; }
  bool UploadDialogActive() override { return false; }
  void KeyPlayed(int) override {}

  std::function<void()> onRefreshView;
  int updateCommands = 0;
  int invalidWaveSampleBoxes = 0;
  int waveSampleIsCopyBoxes = 0;
};

// A session (TEps) on the simulated sampler over the in-memory cable, in virtual time, for the
// window tests. One per process at a time: it installs the MIDI clock and driver.
class ViewSession {
 public:
  explicit ViewSession(bool demoContent = false);
  ~ViewSession();

  // OpenDevices; false when the sampler was not found.
  bool Connect();
  // Until the sampler has handled everything and the cable is quiet.
  void Settle();
  // Every byte the program sent since the previous call.
  std::vector<uint8_t> TakeSent();

  void AddInstrument(int instrument, const std::string& name);
  void AddLayer(int instrument, int layer);
  // A wavesample of `samples` samples with its sample end at `end`; start 0, no loop.
  void AddWaveSample(int instrument, int layer, int waveSample, int samples, int end);
  void AddParameterCopy(int instrument, int layer, int waveSample, int source);
  void SetWsWord(int instrument, int waveSample, int index, int value);
  void RemoveInstrument(int instrument);
  std::string InstrumentName(int instrument);  // as the sampler's record spells it
  bool HasWaveSample(int instrument, int waveSample);

  // Makes the wavesample current and opens it for editing; OpenWs's result.
  int Open(int instrument, int waveSample);

  std::vector<sim::NoteEvent> Notes();
  std::vector<int> ProgramChanges();
  std::vector<sim::LoggedMessage> Messages();
  void ClearLog();

  midi::FakeClock clock{1000};
  ForwardingUi ui;
  std::unique_ptr<sim::SimMidiDriver> driver;
  std::unique_ptr<protocol::TEps> eps;

 private:
  size_t sentSeen_ = 0;
};

}  // namespace kelvora::testing
