#pragma once

#include <string>

#include "sim/SamplerMemory.h"

namespace kelvora::sim {

// The simulated sampler's memory on disk, so that separate runs see the same sampler.
//
// Format (all integers little-endian):
//   8 bytes      "KVSIMMEM"
//   u16          format version: 1
//   u16          model it was saved from: 0 EPS, 1 EPS-16 PLUS, 2 ASR-10 (for information;
//                loading stores the samples as the current model does)
//   u16          number of instruments that follow, 0..8
//   per instrument:
//     u16        index 0..7
//     323 x u16  instrument record
//     u16        number of layers, then per layer: u16 index 0..7, 107 x u16 layer record
//     u16        number of wavesamples, then per wavesample:
//       u16      number 1..127
//       u16      layer index (a layer listed above)
//       u16      copy source: 0 when it holds its data, else the number of a wavesample of this
//                instrument that holds data
//       139 x u16  wavesample record
//       when the copy source is 0: u32 sample count, then that many i16 samples
//   u32          CRC-32 (IEEE 802.3) of every byte before it
// Record words that describe the objects (offsets, layer maps, copy links, size, ID) are
// recomputed on loading.
class SamplerStateFile {
 public:
  // Writes to a temporary file beside `path` and renames it over, so a failed save never
  // leaves half a file behind. False with the reason in `error`.
  static bool Save(const SamplerMemory& memory, const std::string& path, std::string& error);
  // Replaces the memory's content only when the whole file is valid and fits the memory;
  // otherwise false with the reason, and the memory is unchanged.
  static bool Load(SamplerMemory& memory, const std::string& path, std::string& error);

  // The file's bytes, and their parsing, without the file system.
  static std::string Serialize(const SamplerMemory& memory);
  static bool Deserialize(SamplerMemory& memory, const std::string& bytes, std::string& error);
};

}  // namespace kelvora::sim
