#include "sim/SamplerMemory.h"

#include <algorithm>

#include "protocol/NameCodec.h"
#include "sim/RecordSync.h"
#include "sim/SamplerStatus.h"

namespace kelvora::sim {

namespace {

bool InstrumentIndexOk(int i) { return i >= 0 && i < kInstruments; }
bool LayerIndexOk(int l) { return l >= 0 && l < kLayers; }
bool NumberOk(int w) { return w >= 1 && w <= kWaveSamples; }

}  // namespace

int64_t BlockWords(size_t size) {
  const int64_t words = static_cast<int64_t>(size);
  return (words + kMemoryBlockWords - 1) / kMemoryBlockWords * kMemoryBlockWords;
}

SamplerMemory::SamplerMemory(SamplerModel model, int64_t capacityWords)
    : model_(model), capacity_(capacityWords) {}

int64_t SamplerMemory::UsedWords() const {
  int64_t used = 0;
  for (const auto& instrument : instruments_) {
    if (instrument) used += HeldWords(*instrument);
  }
  return used;
}

bool SamplerMemory::Fits(size_t size) const { return UsedWords() + BlockWords(size) <= capacity_; }

const InstrumentSlot* SamplerMemory::Instrument(int i) const {
  if (!InstrumentIndexOk(i) || !instruments_[i]) return nullptr;
  return &*instruments_[i];
}

InstrumentSlot* SamplerMemory::MutableInstrument(int i) {
  if (!InstrumentIndexOk(i) || !instruments_[i]) return nullptr;
  return &*instruments_[i];
}

const LayerSlot* SamplerMemory::Layer(int i, int l) const {
  const InstrumentSlot* instrument = Instrument(i);
  if (!instrument || !LayerIndexOk(l) || !instrument->layers[l]) return nullptr;
  return &*instrument->layers[l];
}

const WaveSampleSlot* SamplerMemory::WaveSample(int i, int w) const {
  const InstrumentSlot* instrument = Instrument(i);
  if (!instrument || !NumberOk(w) || !instrument->waveSamples[w - 1]) return nullptr;
  return &*instrument->waveSamples[w - 1];
}

WaveSampleSlot* SamplerMemory::MutableWaveSample(int i, int w) {
  InstrumentSlot* instrument = MutableInstrument(i);
  if (!instrument || !NumberOk(w) || !instrument->waveSamples[w - 1]) return nullptr;
  return &*instrument->waveSamples[w - 1];
}

int SamplerMemory::FirstFreeLayer(int i) const {
  const InstrumentSlot* instrument = Instrument(i);
  if (!instrument) return -1;
  for (int l = 0; l < kLayers; ++l) {
    if (!instrument->layers[l]) return l;
  }
  return -1;
}

int SamplerMemory::FirstFreeWaveSample(int i) const {
  const InstrumentSlot* instrument = Instrument(i);
  if (!instrument) return -1;
  for (int w = 1; w <= kWaveSamples; ++w) {
    if (!instrument->waveSamples[w - 1]) return w;
  }
  return -1;
}

int SamplerMemory::AddInstrument(int i, const std::string& name) {
  if (!InstrumentIndexOk(i)) return kNoInstrument;
  if (instruments_[i]) return kInstrumentInUse;
  InstrumentSlot& instrument = instruments_[i].emplace();
  protocol::EncodeName(instrument.record.data(), name);
  instrument.record[26] = 21 << 8;  // key range of the whole keyboard
  instrument.record[27] = 108 << 8;
  Sync(i);
  return kAck;
}

int SamplerMemory::RemoveInstrument(int i) {
  if (!Instrument(i)) return kNoInstrument;
  instruments_[i].reset();
  return kAck;
}

int SamplerMemory::AddLayer(int i, int l, const std::string& name) {
  InstrumentSlot* instrument = MutableInstrument(i);
  if (!instrument) return kNoInstrument;
  if (!LayerIndexOk(l)) return kNoLayer;
  if (instrument->layers[l]) return kLayerInUse;
  LayerSlot& layer = instrument->layers[l].emplace();
  protocol::EncodeName(layer.record.data(), name);
  Sync(i);
  return kAck;
}

int SamplerMemory::RemoveLayer(int i, int l) {
  InstrumentSlot* instrument = MutableInstrument(i);
  if (!instrument) return kNoInstrument;
  if (!Layer(i, l)) return kNoLayer;
  for (int w = 1; w <= kWaveSamples; ++w) {
    const auto& slot = instrument->waveSamples[w - 1];
    if (slot && slot->layer == l) RemoveWaveSample(i, w);
  }
  instrument->layers[l].reset();
  Sync(i);
  return kAck;
}

int SamplerMemory::AddWaveSample(int i, int l, int w, const WsRecord& record, WaveData data) {
  InstrumentSlot* instrument = MutableInstrument(i);
  if (!instrument) return kNoInstrument;
  if (!Layer(i, l)) return kNoLayer;
  if (!NumberOk(w)) return kNoWaveSample;
  if (instrument->waveSamples[w - 1]) return kWaveSampleInUse;
  if (!Fits(data.size())) return kMemoryFull;
  for (int16_t& sample : data) sample = Store(sample);
  WaveSampleSlot& slot = instrument->waveSamples[w - 1].emplace();
  slot.layer = l;
  slot.record = record;
  slot.data = std::make_shared<WaveData>(std::move(data));
  Sync(i);
  return kAck;
}

int SamplerMemory::AddParameterCopy(int i, int l, int w, int source, const WsRecord& record) {
  InstrumentSlot* instrument = MutableInstrument(i);
  if (!instrument) return kNoInstrument;
  if (!Layer(i, l)) return kNoLayer;
  const WaveSampleSlot* original = WaveSample(i, source);
  if (!NumberOk(w) || !original) return kNoWaveSample;
  if (instrument->waveSamples[w - 1]) return kWaveSampleInUse;
  const int holder = original->copyOf != 0 ? original->copyOf : source;
  WaveSampleSlot& slot = instrument->waveSamples[w - 1].emplace();
  slot.layer = l;
  slot.copyOf = holder;
  slot.record = record;
  slot.data = original->data;
  Sync(i);
  return kAck;
}

int SamplerMemory::RemoveWaveSample(int i, int w) {
  InstrumentSlot* instrument = MutableInstrument(i);
  if (!instrument) return kNoInstrument;
  if (!WaveSample(i, w)) return kNoWaveSample;
  int heir = 0;
  for (auto& slot : instrument->waveSamples) {
    if (!slot || slot->copyOf != w) continue;
    if (heir == 0) {
      heir = static_cast<int>(&slot - instrument->waveSamples.data()) + 1;
      slot->copyOf = 0;
    } else {
      slot->copyOf = heir;
    }
  }
  instrument->waveSamples[w - 1].reset();
  Sync(i);
  return kAck;
}

void SamplerMemory::Clear() {
  for (auto& instrument : instruments_) instrument.reset();
}

void SamplerMemory::PutInstrumentRecord(int i, const int* words) {
  InstrumentSlot* instrument = MutableInstrument(i);
  if (!instrument) return;
  for (int n = 0; n < protocol::kInstrRecordWords; ++n) instrument->record[n] = words[n] & 0xFFFF;
  Sync(i);
}

void SamplerMemory::PutLayerRecord(int i, int l, const int* words) {
  InstrumentSlot* instrument = MutableInstrument(i);
  if (!instrument || !Layer(i, l)) return;
  for (int n = 0; n < protocol::kLayerRecordWords; ++n) {
    instrument->layers[l]->record[n] = words[n] & 0xFFFF;
  }
  Sync(i);
}

void SamplerMemory::PutWsRecord(int i, int w, const int* words) {
  WaveSampleSlot* slot = MutableWaveSample(i, w);
  if (!slot) return;
  for (int n = 0; n < protocol::kWsRecordWords; ++n) slot->record[n] = words[n] & 0xFFFF;
  Sync(i);
}

void SamplerMemory::SetWsWord(int i, int w, int index, int value) {
  WaveSampleSlot* slot = MutableWaveSample(i, w);
  if (!slot || index < 0 || index >= protocol::kWsRecordWords) return;
  slot->record[index] = value & 0xFFFF;
  Sync(i);
}

const WaveData* SamplerMemory::Data(int i, int w) const {
  const WaveSampleSlot* slot = WaveSample(i, w);
  return slot ? slot->data.get() : nullptr;
}

WaveData* SamplerMemory::EditableData(int i, int w) {
  WaveSampleSlot* slot = MutableWaveSample(i, w);
  if (!slot || slot->copyOf != 0) return nullptr;
  return slot->data.get();
}

int SamplerMemory::Resize(int i, int w, size_t size) {
  WaveData* data = EditableData(i, w);
  if (!data) return WaveSample(i, w) ? kIsCopy : kNoWaveSample;
  const int64_t growth = BlockWords(size) - BlockWords(data->size());
  if (growth > 0 && UsedWords() + growth > capacity_) return kMemoryFull;
  data->resize(size, 0);
  Sync(i);
  return kAck;
}

void SamplerMemory::Sync(int i) {
  if (InstrumentSlot* instrument = MutableInstrument(i)) SyncRecords(*instrument, model_);
}

}  // namespace kelvora::sim
