#pragma once

#include <cstdint>

#include "sim/Command.h"
#include "sim/SamplerMemory.h"
#include "sim/WaveEdits.h"

namespace kelvora::sim {

// What a command did: its status and how many samples it processed (long edits answer with a
// WAIT per so many samples before the status).
struct CommandOutcome {
  int status = 0;
  int64_t samples = 0;
};

// The sampler's object and data commands: create and delete (15, 16, 17, 19, 1A, 1C) and the
// edits of sample data (1E, 1F, 20, 22, 24, 27, 28, 41), carried out on the memory.
//
// A wavesample is found by its number within the instrument; the layer word matters only when
// the wavesample does not exist (status 6 when that layer is not in use either, so that a host
// creates the layer before the wavesample) and when something is created in a layer.
class CommandExecutor {
 public:
  explicit CommandExecutor(SamplerMemory& memory) : memory_(memory), edits_(memory.Model()) {}

  // Carries out a command whose role is CommandRole::Edit.
  CommandOutcome Execute(const Command& command);

  // Status of addressing a wavesample: 5, 6 or 8 when it is not there; 17 when holdsData is
  // asked for and it is a parameters-only copy; else kAck.
  int CheckWaveSample(const protocol::Target& target, bool holdsData) const;

  static constexpr int kSquareCycle = 64;  // samples in the wave CREATE WAVESAMPLE makes

 private:
  CommandOutcome CreateLayer(const Command& command);
  CommandOutcome CreateWaveSample(const Command& command);
  int AddSquareWave(int instrument, int layer, int waveSample);
  CommandOutcome Truncate(const Command& command);
  CommandOutcome Clear(const Command& command);
  CommandOutcome CopyData(const Command& command);
  CommandOutcome InPlace(const Command& command);
  CommandOutcome Normalize(const Command& command);
  void ShiftPositions(int instrument, int waveSample, int64_t delta, int64_t size);

  SamplerMemory& memory_;
  WaveEdits edits_;
};

}  // namespace kelvora::sim
