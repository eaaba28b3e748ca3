#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "protocol/Records.h"
#include "sim/SamplerModel.h"

namespace kelvora::sim {

constexpr int kInstruments = 8;
constexpr int kLayers = 8;
constexpr int kWaveSamples = 127;  // numbered 1..127

using WaveData = std::vector<int16_t>;
using InstrumentRecord = std::array<int, protocol::kInstrRecordWords>;
using LayerRecord = std::array<int, protocol::kLayerRecordWords>;
using WsRecord = std::array<int, protocol::kWsRecordWords>;

struct WaveSampleSlot {
  int layer = 0;
  int copyOf = 0;  // 0: holds its own data; else the number of the wavesample whose data it uses
  WsRecord record{};
  std::shared_ptr<WaveData> data;  // the same object for a holder and all its copies
};

struct LayerSlot {
  LayerRecord record{};
};

struct InstrumentSlot {
  InstrumentRecord record{};
  std::array<std::optional<LayerSlot>, kLayers> layers;
  std::array<std::optional<WaveSampleSlot>, kWaveSamples> waveSamples;  // index: number - 1
};

// The sampler's memory: 8 instruments, each with up to 8 layers and 127 wavesamples, their
// parameter records and the sample data. The words of the records that describe the objects
// (in-use offsets, layer maps, copy links, instrument size and ID) are kept in step with the
// objects after every change. Sample data is counted in blocks of 256 words per wavesample that
// holds data; parameters-only copies cost nothing.
class SamplerMemory {
 public:
  SamplerMemory(SamplerModel model, int64_t capacityWords);

  SamplerModel Model() const { return model_; }
  int64_t CapacityWords() const { return capacity_; }
  int64_t UsedWords() const;
  // What a sample value reads back as once stored on this model.
  int16_t Store(int value) const { return StoredSample(model_, value); }

  // nullptr when the object does not exist (or the numbers are out of range).
  const InstrumentSlot* Instrument(int i) const;
  const LayerSlot* Layer(int i, int l) const;
  const WaveSampleSlot* WaveSample(int i, int w) const;
  int FirstFreeLayer(int i) const;       // -1 when all 8 are in use
  int FirstFreeWaveSample(int i) const;  // a number 1..127, -1 when all are in use

  // Object changes; each returns a SamplerStatus and changes nothing unless it is kAck.
  int AddInstrument(int i, const std::string& name);
  int RemoveInstrument(int i);
  int AddLayer(int i, int l, const std::string& name);
  int RemoveLayer(int i, int l);  // and every wavesample in it
  int AddWaveSample(int i, int l, int w, const WsRecord& record, WaveData data);
  // A wavesample that plays the data of `source` (same instrument) with parameters of its own.
  int AddParameterCopy(int i, int l, int w, int source, const WsRecord& record);
  // Removing a wavesample that copies use hands its data to the lowest-numbered copy, which
  // becomes the holder; the other copies follow it.
  int RemoveWaveSample(int i, int w);
  void Clear();

  // Record writes from the host. Words that describe the objects keep their derived values.
  void PutInstrumentRecord(int i, const int* words);
  void PutLayerRecord(int i, int l, const int* words);
  void PutWsRecord(int i, int w, const int* words);
  void SetWsWord(int i, int w, int index, int value);

  // Sample data, followed through copy links; nullptr for a wavesample that does not exist.
  const WaveData* Data(int i, int w) const;
  // The data of a wavesample that holds it, for editing; nullptr for copies.
  WaveData* EditableData(int i, int w);
  // Grows (with silence) or shrinks the data of a holder; kMemoryFull when growth does not fit.
  int Resize(int i, int w, size_t size);
  // Whether data of `size` words more than now fits (no object needed yet).
  bool Fits(size_t size) const;

 private:
  InstrumentSlot* MutableInstrument(int i);
  WaveSampleSlot* MutableWaveSample(int i, int w);
  void Sync(int i);

  SamplerModel model_;
  int64_t capacity_;
  std::array<std::optional<InstrumentSlot>, kInstruments> instruments_;
};

// Words of memory that data of `size` samples takes: whole blocks of 256.
int64_t BlockWords(size_t size);

}  // namespace kelvora::sim
