#pragma once

#include <string>
#include <vector>

// What is loaded in the sampler, derived from the instrument and layer records that the
// configuration read fetched. Instruments and layers are indexed 0..7, wavesamples by number - 1.
namespace kelvora::protocol {

constexpr int kInstruments = 8;
constexpr int kLayers = 8;
constexpr int kWaveSamples = 127;

struct Occupancy {
  bool InstrInUse[kInstruments];
  std::string InstrName[kInstruments];  // empty when not in use
  bool LayerInUse[kInstruments][kLayers];
  bool WsInUse[kInstruments][kWaveSamples];
  int WsLayer[kInstruments][kWaveSamples];  // layer that holds the wavesample; -1 = none known
  int FirstFreeWs[kInstruments];            // wavesample - 1 of the first free one; -1 = all used
  int FirstFreeLayer[kInstruments];         // first free layer; -1 = all used

  Occupancy() { Reset(); }
  void Reset();  // nothing known: not in use, no names, -1 everywhere else
};

// An instrument whose record was read: marks it in use, names it, marks its layers and
// wavesamples in use and notes the first free of each. Returns the count of layers in use and,
// when layersInUse is given, fills it with their indices in increasing order. Anything derived
// earlier for this instrument is dropped first. An instrument outside 0..7 changes nothing and
// counts no layers.
int DeriveInstrument(Occupancy& occupancy, int instrument, const int* instrParams,
                     std::vector<int>* layersInUse);

// With more than one layer in use: every wavesample that the layer's key map names is held by
// that layer; a later layer overwrites an earlier one.
void ApplyLayerRecord(Occupancy& occupancy, int instrument, int layer, const int* layerParams);

// With at most one layer in use: every wavesample, in use or not, belongs to lastLayer. With no
// layer in use (lastLayer -1) no layer is known for any of them.
void ApplySingleLayer(Occupancy& occupancy, int instrument, int lastLayer);

// An instrument that did not answer its parameter request: nothing of it is in use, and the
// first wavesample and first layer are free.
void MarkNotAnswering(Occupancy& occupancy, int instrument);

}  // namespace kelvora::protocol
