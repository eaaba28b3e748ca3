#pragma once

namespace kelvora::sim {

// Status codes of the sampler's response message (command 01), numbered as the maker lists them.
enum SamplerStatus : int {
  kAck = 0,
  kWait = 1,
  kBadParameterNumber = 3,
  kBadParameterValue = 4,
  kNoInstrument = 5,  // instrument not loaded
  kNoLayer = 6,       // layer not in use
  kLayerInUse = 7,
  kNoWaveSample = 8,  // wavesample does not exist
  kWaveSampleInUse = 9,
  kBadDataRange = 10,
  kMemoryFull = 12,
  kInstrumentInUse = 13,
  kNoMoreLayers = 14,
  kNoMoreWaveSamples = 15,
  kIsCopy = 17,  // only the wavesample that holds the data can be processed
  kSlowDown = 20,
  kNak = 23,  // the last transfer was wrong
};

}  // namespace kelvora::sim
