// How fast ProcessInput decodes a download block that is already waiting in the input ring:
// the largest block, 10240 words (30725 bytes on the wire). Reported as wire bytes per second.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "midi/DoreRav.h"
#include "midi/Midiin.h"
#include "protocol/Eps.h"
#include "protocol/SessionUi.h"
#include "protocol/Sysex.h"

namespace {

using namespace kelvora;

class SilentUi : public protocol::SessionUi {
 public:
  void BeginWait() override {}
  void EndWait() override {}
  void UpdateCommands() override {}
  void RefreshView() override {}
  int ShowNoEps(protocol::TNoEpsReason) override { return protocol::mrOk; }
  void ShowInvalidWaveSample() override {}
  void ShowWaveSampleIsCopy() override {}
  bool UploadDialogActive() override { return false; }
  void KeyPlayed(int) override {}
};

std::vector<uint8_t> DataMessage(int words) {
  std::vector<int> samples(static_cast<size_t>(words));
  for (int i = 0; i < words; ++i) samples[static_cast<size_t>(i)] = (i * 7919) & 0xFFFF;
  protocol::VectorSink sink;
  protocol::SendDataMessage(sink, 1, samples.data(), samples.size());
  return sink.bytes;
}

void BM_ProcessInputDownloadBlock(benchmark::State& state) {
  SilentUi ui;
  protocol::TEps eps(ui);
  const int words = static_cast<int>(state.range(0));
  const std::vector<uint8_t> message = DataMessage(words);
  const int slot = eps.MidiIn->Slot();
  for (auto _ : state) {
    state.PauseTiming();
    midi::DoreRav::MidiInHandler(slot, midi::InEvent::LongData, message.data(), message.size());
    eps.DownloadState = protocol::dsReadData;
    eps.DataStart = 0;
    eps.DataEnd = words;
    state.ResumeTiming();
    if (eps.ProcessInput() != protocol::prData) {
      state.SkipWithError("the block was not decoded");
      break;
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(message.size()));
}

}  // namespace

BENCHMARK(BM_ProcessInputDownloadBlock)->Arg(256)->Arg(10240)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
