#include "batch/Inventory.h"

#include <algorithm>

#include "protocol/Eps.h"
#include "protocol/EpsPortSink.h"
#include "protocol/Occupancy.h"

namespace kelvora::batch {

namespace {

using namespace protocol;

constexpr int kInstrIdWord = 25;

// One GET: the request, the sampler's ACK, then the record. prNoInstrument and prNoLayer are
// answers too; anything else after the ACK means the record did not arrive.
int Fetch(TEps& eps, const Target& target, int type) {
  EpsPortSink sink(eps.MidiOut);
  eps.Instrument = target.instrument;
  eps.Layer = target.layer;
  eps.WaveSample = target.waveSample;
  if (type == kGetInstrumentParams) SendGetInstrumentParams(sink, eps.Channel(), target.instrument);
  if (type == kGetLayerParams)
    SendGetLayerParams(sink, eps.Channel(), target.instrument, target.layer);
  if (type == kGetWsParams) SendGetWsParams(sink, eps.Channel(), target);
  const int answer = eps.ProcessInput();
  return answer == prAck ? eps.ProcessInput() : answer;
}

std::string Stopped(const std::string& what) {
  return "The sampler did not send the record of " + what + ".";
}

bool ReadLayers(TEps& eps, InstrumentEntry& entry, const InventoryScope& scope,
                Occupancy& occupancy, std::string& failure) {
  std::vector<int> layers;
  DeriveInstrument(occupancy, entry.index, entry.record.data(), &layers);
  for (const int l : layers) {
    if (Fetch(eps, Target{entry.index, l, 1}, kGetLayerParams) != prLayerParams) {
      failure = Stopped("layer " + std::to_string(l + 1) + " of instrument " +
                        std::to_string(entry.index + 1));
      return false;
    }
    if (layers.size() > 1) ApplyLayerRecord(occupancy, entry.index, l, eps.LayerParams);
    if (scope.layer >= 0 && l != scope.layer) continue;
    LayerEntry layer;
    layer.index = l;
    std::copy_n(eps.LayerParams, kLayerRecordWords, layer.record.begin());
    entry.layers.push_back(layer);
  }
  if (layers.size() <= 1) ApplySingleLayer(occupancy, entry.index, layers.empty() ? -1 : layers[0]);
  return true;
}

bool ReadWaveSamples(TEps& eps, InstrumentEntry& entry, const InventoryScope& scope,
                     const Occupancy& occupancy, const std::function<bool()>& stop,
                     std::string& failure) {
  for (int w = 1; w <= kWaveSamples; ++w) {
    if (!occupancy.WsInUse[entry.index][w - 1]) continue;
    const int layer = occupancy.WsLayer[entry.index][w - 1];
    if (scope.layer >= 0 && layer != scope.layer) continue;
    if (stop && stop()) return true;
    if (Fetch(eps, Target{entry.index, std::max(layer, 0), w}, kGetWsParams) != prWsParams) {
      failure = Stopped("wavesample " + std::to_string(w) + " of instrument " +
                        std::to_string(entry.index + 1));
      return false;
    }
    WaveSampleEntry ws;
    ws.number = w;
    ws.layer = layer;
    std::copy_n(eps.WsParams, kWsRecordWords, ws.record.begin());
    entry.waveSamples.push_back(ws);
  }
  return true;
}

}  // namespace

bool ReadInventory(TEps& eps, const InventoryScope& scope, bool withWaveSamples,
                   const std::function<bool()>& stop, Inventory& inventory, std::string& failure) {
  Occupancy occupancy;
  for (int i = 0; i < kInstruments; ++i) {
    if (scope.instrument >= 0 && i != scope.instrument) continue;
    if (stop && stop()) return true;
    const int answer = Fetch(eps, Target{i, 0, 1}, kGetInstrumentParams);
    if (answer == prNoInstrument) continue;
    if (answer != prInstrumentParams) {
      failure = Stopped("instrument " + std::to_string(i + 1));
      return false;
    }
    InstrumentEntry entry;
    entry.index = i;
    std::copy_n(eps.InstrParams, kInstrRecordWords, entry.record.begin());
    if (!ReadLayers(eps, entry, scope, occupancy, failure)) return false;
    if (withWaveSamples && !ReadWaveSamples(eps, entry, scope, occupancy, stop, failure)) {
      return false;
    }
    inventory.instruments.push_back(std::move(entry));
  }
  return true;
}

std::string ModelOf(const Inventory& inventory) {
  if (inventory.instruments.empty()) return {};
  switch (inventory.instruments.front().record[kInstrIdWord] & 0xFFFF) {
    case 0xFFFF:
      return "EPS-16 PLUS";
    case 0xFFFE:
      return "ASR-10";
    default:
      return "EPS";
  }
}

}  // namespace kelvora::batch
