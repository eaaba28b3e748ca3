#include "protocol/Occupancy.h"

#include <algorithm>

#include "protocol/NameCodec.h"
#include "protocol/Records.h"

namespace kelvora::protocol {

namespace {

bool ValidInstrument(int instrument) { return instrument >= 0 && instrument < kInstruments; }
bool ValidLayer(int layer) { return layer >= 0 && layer < kLayers; }

// An entry of the instrument record's offset tables is in use when either of its two words is
// nonzero.
bool PairInUse(const int* record, int first) {
  return record[first] != 0 || record[first + 1] != 0;
}

void ResetInstrument(Occupancy& occupancy, int i) {
  occupancy.InstrInUse[i] = false;
  occupancy.InstrName[i].clear();
  std::fill_n(occupancy.LayerInUse[i], kLayers, false);
  std::fill_n(occupancy.WsInUse[i], kWaveSamples, false);
  std::fill_n(occupancy.WsLayer[i], kWaveSamples, -1);
  occupancy.FirstFreeWs[i] = -1;
  occupancy.FirstFreeLayer[i] = -1;
}

int DeriveLayers(Occupancy& occupancy, int i, const int* instrParams,
                 std::vector<int>* layersInUse) {
  int count = 0;
  for (int n = 0; n < kLayers; ++n) {
    if (PairInUse(instrParams, kInstrLayerWords + 2 * n)) {
      occupancy.LayerInUse[i][n] = true;
      ++count;
      if (layersInUse) layersInUse->push_back(n);
    } else if (occupancy.FirstFreeLayer[i] < 0) {
      occupancy.FirstFreeLayer[i] = n;
    }
  }
  return count;
}

void DeriveWaveSamples(Occupancy& occupancy, int i, const int* instrParams) {
  for (int k = 0; k < kWaveSamples; ++k) {
    if (PairInUse(instrParams, kInstrWsWords + 2 * k)) {
      occupancy.WsInUse[i][k] = true;
    } else if (occupancy.FirstFreeWs[i] < 0) {
      occupancy.FirstFreeWs[i] = k;
    }
  }
}

}  // namespace

void Occupancy::Reset() {
  for (int i = 0; i < kInstruments; ++i) ResetInstrument(*this, i);
}

int DeriveInstrument(Occupancy& occupancy, int instrument, const int* instrParams,
                     std::vector<int>* layersInUse) {
  if (layersInUse) {
    layersInUse->clear();
    layersInUse->reserve(kLayers);  // a list reused from call to call allocates only once
  }
  if (!ValidInstrument(instrument)) return 0;
  ResetInstrument(occupancy, instrument);
  occupancy.InstrInUse[instrument] = true;
  occupancy.InstrName[instrument] = DecodeName(instrParams + kNameWord);
  const int layerCount = DeriveLayers(occupancy, instrument, instrParams, layersInUse);
  DeriveWaveSamples(occupancy, instrument, instrParams);
  return layerCount;
}

void ApplyLayerRecord(Occupancy& occupancy, int instrument, int layer, const int* layerParams) {
  if (!ValidInstrument(instrument) || !ValidLayer(layer)) return;
  for (int word = kLayerMapFirst; word <= kLayerMapLast; ++word) {
    // Numbers 0 and 128 or more name no wavesample.
    const int v = layerParams[word] >> 8;
    if (v >= 1 && v <= kWaveSamples) occupancy.WsLayer[instrument][v - 1] = layer;
  }
}

void ApplySingleLayer(Occupancy& occupancy, int instrument, int lastLayer) {
  if (!ValidInstrument(instrument)) return;
  const int layer = ValidLayer(lastLayer) ? lastLayer : -1;
  std::fill_n(occupancy.WsLayer[instrument], kWaveSamples, layer);
}

void MarkNotAnswering(Occupancy& occupancy, int instrument) {
  if (!ValidInstrument(instrument)) return;
  ResetInstrument(occupancy, instrument);
  occupancy.FirstFreeWs[instrument] = 0;
  occupancy.FirstFreeLayer[instrument] = 0;
}

}  // namespace kelvora::protocol
