#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "protocol/Records.h"

namespace kelvora::protocol {
class TEps;
}

namespace kelvora::batch {

using InstrumentRecord = std::array<int, protocol::kInstrRecordWords>;
using LayerRecord = std::array<int, protocol::kLayerRecordWords>;
using WaveSampleRecord = std::array<int, protocol::kWsRecordWords>;

struct WaveSampleEntry {
  int number = 1;  // 1..127
  int layer = -1;  // 0..7; -1 when no layer's key map names it
  WaveSampleRecord record{};
};

struct LayerEntry {
  int index = 0;  // 0..7
  LayerRecord record{};
};

struct InstrumentEntry {
  int index = 0;  // 0..7
  InstrumentRecord record{};
  std::vector<LayerEntry> layers;            // the layers in use, in order
  std::vector<WaveSampleEntry> waveSamples;  // the wavesamples in use, by number
};

// What the sampler holds, as its three kinds of parameter record tell it: every instrument in
// use, its layers and its wavesamples, each with the record as read.
struct Inventory {
  std::vector<InstrumentEntry> instruments;  // in use, in order
};

// Which part of the sampler to read; -1 for all.
struct InventoryScope {
  int instrument = -1;
  int layer = -1;
};

// Reads the records over the session that has already reached the sampler: each instrument's,
// each of its layers', and each of its wavesamples' (skipped when `withWaveSamples` is false).
// Nothing is selected or changed on the sampler. Stops when `stop` says so between two records.
// False with a sentence in `failure` when the sampler stops answering.
bool ReadInventory(protocol::TEps& eps, const InventoryScope& scope, bool withWaveSamples,
                   const std::function<bool()>& stop, Inventory& inventory, std::string& failure);

// The model the instrument records tell (word 25): "EPS-16 PLUS", "ASR-10" or "EPS"; empty
// without an instrument.
std::string ModelOf(const Inventory& inventory);

}  // namespace kelvora::batch
