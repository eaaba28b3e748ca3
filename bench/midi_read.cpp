#include <benchmark/benchmark.h>

#include <vector>

#include "midi/DoreRav.h"
#include "midi/Midiin.h"

namespace {

using kelvora::midi::InEvent;
using kelvora::midi::TMidiIn;
namespace DoreRav = kelvora::midi::DoreRav;

// A 10240-word data block as the session reads it: byte by byte from a filled ring.
void BM_ReadByteFromAFilledRing(benchmark::State& state) {
  TMidiIn port;
  const std::vector<uint8_t> block(5 + 3 * 10240, 0x3F);
  uint8_t b = 0;
  for (auto _ : state) {
    state.PauseTiming();
    DoreRav::MidiInHandler(port.Slot(), InEvent::LongData, block.data(), block.size());
    state.ResumeTiming();
    for (size_t i = 0; i < block.size(); ++i) port.ReadByte(b);
    benchmark::DoNotOptimize(b);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * block.size()));
}
BENCHMARK(BM_ReadByteFromAFilledRing);

}  // namespace

BENCHMARK_MAIN();
