#pragma once

#include <cstdint>

#include "sim/SamplerMemory.h"

namespace kelvora::sim {

// Words of memory the wavesamples of one instrument hold (copies count nothing).
int64_t HeldWords(const InstrumentSlot& instrument);

// Rewrites every record word that describes the objects of one instrument:
// - instrument: size in blocks (15), ID (25), an offset for every layer in use (45 + 2n,
//   46 + 2n) and every wavesample in use (63 + 2k, 64 + 2k), zero for the free ones;
// - layers: the key map (19..106), one wavesample number per key of the 88 in the high byte;
// - wavesamples: the copy source (12) and its layer (13), zero for a holder.
// The offsets are where the record would sit in the instrument's memory (never zero), which is
// all a host can rely on: a free object has both words zero.
void SyncRecords(InstrumentSlot& instrument, SamplerModel model);

// The wavesample a layer plays on a MIDI key: of the layer's wavesamples whose key range (words
// 132, 133) holds the key, the one with the highest number; 0 for none.
int WaveSampleOnKey(const InstrumentSlot& instrument, int layer, int key);

}  // namespace kelvora::sim
