#include "SamplerConsistency.h"

#include "FuzzCheck.h"

namespace kelvora::fuzz {
namespace {

using namespace sim;

void CheckWaveSample(const SamplerMemory& memory, int i, int w) {
  const WaveSampleSlot* slot = memory.WaveSample(i, w);
  if (!slot) return;
  Require(memory.Layer(i, slot->layer) != nullptr, "a wavesample in a layer that does not exist");
  Require(slot->data != nullptr, "a wavesample without data");
  if (slot->copyOf == 0) return;
  const WaveSampleSlot* holder = memory.WaveSample(i, slot->copyOf);
  Require(holder != nullptr && holder->copyOf == 0, "a copy of a wavesample that holds no data");
  Require(holder->data == slot->data, "a copy that does not share its holder's data");
}

void CheckInstrument(const SamplerMemory& memory, int i) {
  if (!memory.Instrument(i)) return;
  for (int w = 1; w <= kWaveSamples; ++w) CheckWaveSample(memory, i, w);
  const int layer = memory.FirstFreeLayer(i);
  Require(layer == -1 || (layer >= 0 && layer < kLayers && !memory.Layer(i, layer)),
          "the first free layer is in use");
  const int ws = memory.FirstFreeWaveSample(i);
  Require(ws == -1 || (ws >= 1 && ws <= kWaveSamples && !memory.WaveSample(i, ws)),
          "the first free wavesample is in use");
}

}  // namespace

void CheckSamplerMemory(const SamplerMemory& memory) {
  Require(memory.UsedWords() <= memory.CapacityWords(), "more data than the memory holds");
  for (int i = 0; i < kInstruments; ++i) CheckInstrument(memory, i);
}

}  // namespace kelvora::fuzz
