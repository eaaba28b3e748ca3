#include "sim/RecordSync.h"

#include <algorithm>
#include <array>

namespace kelvora::sim {

namespace {

using namespace protocol;

constexpr int kInstrSizeWord = 15;
constexpr int kInstrIdWord = 25;
constexpr int kCopyLayerWord = 13;
constexpr int kFirstMapKey = 21;  // the layer map covers the 88 keys 21..108

int HighByte(int word) { return (word >> 8) & 0xFF; }

// Two words whose high bytes hold a 16-bit offset.
void WriteOffset(int* words, int offset) {
  words[0] = ((offset >> 8) & 0xFF) << 8;
  words[1] = (offset & 0xFF) << 8;
}

void SyncInstrumentWords(InstrumentSlot& instrument, SamplerModel model) {
  int* record = instrument.record.data();
  const int64_t blocks = HeldWords(instrument) / kMemoryBlockWords;
  record[kInstrSizeWord] = static_cast<int>(std::min<int64_t>(blocks, 0xFFFF));
  record[kInstrIdWord] = InstrumentId(model);
  int offset = kInstrRecordWords;
  for (int l = 0; l < kLayers; ++l) {
    int* words = record + kInstrLayerWords + 2 * l;
    words[0] = words[1] = 0;
    if (!instrument.layers[l]) continue;
    WriteOffset(words, offset);
    offset += kLayerRecordWords;
  }
  record[kInstrWsWords - 2] = record[kInstrWsWords - 1] = 0;  // there is no wavesample 0
  for (int k = 0; k < kWaveSamples; ++k) {
    int* words = record + kInstrWsWords + 2 * k;
    words[0] = words[1] = 0;
    if (!instrument.waveSamples[k]) continue;
    WriteOffset(words, offset);
    offset += kWsRecordWords;
  }
}

// Each key gets the highest-numbered wavesample of the layer whose range holds it, so the
// wavesamples are laid over the map in ascending order and later ones win.
void SyncLayerMaps(InstrumentSlot& instrument) {
  constexpr int kMapKeys = kLayerMapLast - kLayerMapFirst + 1;
  for (int l = 0; l < kLayers; ++l) {
    if (!instrument.layers[l]) continue;
    std::array<int, kMapKeys> map{};
    for (int w = 1; w <= kWaveSamples; ++w) {
      const auto& slot = instrument.waveSamples[w - 1];
      if (!slot || slot->layer != l) continue;
      const int low = std::max(HighByte(slot->record[kWsLowKey]), kFirstMapKey);
      const int high = std::min(HighByte(slot->record[kWsHighKey]), kFirstMapKey + kMapKeys - 1);
      for (int key = low; key <= high; ++key) map[key - kFirstMapKey] = w;
    }
    int* record = instrument.layers[l]->record.data();
    for (int k = 0; k < kMapKeys; ++k) record[kLayerMapFirst + k] = map[k] << 8;
  }
}

void SyncCopyLinks(InstrumentSlot& instrument) {
  for (auto& slot : instrument.waveSamples) {
    if (!slot) continue;
    const auto& source = slot->copyOf ? instrument.waveSamples[slot->copyOf - 1] : slot;
    slot->record[kWsCopySource] = slot->copyOf << 8;
    slot->record[kCopyLayerWord] = slot->copyOf && source ? source->layer << 8 : 0;
  }
}

}  // namespace

int64_t HeldWords(const InstrumentSlot& instrument) {
  int64_t words = 0;
  for (const auto& slot : instrument.waveSamples) {
    if (slot && slot->copyOf == 0 && slot->data) words += BlockWords(slot->data->size());
  }
  return words;
}

int WaveSampleOnKey(const InstrumentSlot& instrument, int layer, int key) {
  for (int w = kWaveSamples; w >= 1; --w) {
    const auto& slot = instrument.waveSamples[w - 1];
    if (!slot || slot->layer != layer) continue;
    const int low = HighByte(slot->record[protocol::kWsLowKey]);
    const int high = HighByte(slot->record[protocol::kWsHighKey]);
    if (key >= low && key <= high) return w;
  }
  return 0;
}

void SyncRecords(InstrumentSlot& instrument, SamplerModel model) {
  SyncCopyLinks(instrument);
  SyncInstrumentWords(instrument, model);
  SyncLayerMaps(instrument);
}

}  // namespace kelvora::sim
