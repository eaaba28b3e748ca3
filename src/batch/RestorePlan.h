#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "batch/Snapshot.h"

namespace kelvora::batch {

struct RestoreOptions {
  int instrument = -1;  // the backup's instrument 0..7 to restore; -1: every one
  int to = -1;          // the slot 0..7 it goes to; -1: its own when free, else the first free
};

// Where each instrument of a backup goes, the order its wavesamples are rebuilt in, and what
// the protocol cannot bring back. Made before anything is sent: a plan that cannot be carried
// out is refused whole.
class RestorePlan {
 public:
  struct Move {
    int from = 0;  // instrument index in the backup
    int to = 0;    // instrument slot in the sampler
  };

  // `sampler` lists the instruments loaded now (their records are not needed). False, with a
  // sentence in `refusal`, when an instrument is missing from the backup or not whole in it, or
  // when no free slot takes it.
  bool Make(const Snapshot& backup, const Snapshot& sampler, const RestoreOptions& options,
            std::string& refusal);

  const std::vector<Move>& Moves() const { return moves_; }
  int Files() const { return files_; }
  int64_t Samples() const { return samples_; }
  // One sentence for each thing of the planned instruments the protocol cannot bring back.
  const std::vector<std::string>& Limits() const { return limits_; }

  // The wavesamples that hold data in increasing number, then the copies: a copy's data comes
  // from a wavesample already rebuilt.
  static std::vector<int> Order(const InstrumentImage& instrument);
  // The layer a wavesample goes into: its own, or the first layer when no key map names it.
  static int LayerOf(const InstrumentImage& instrument, const WaveSampleImage& ws);

 private:
  bool Choose(const Snapshot& backup, const Snapshot& sampler, const RestoreOptions& options,
              std::string& refusal);
  bool CheckWhole(const InstrumentImage& instrument, std::string& refusal);
  void AddLimits(const Snapshot& backup);

  std::vector<Move> moves_;
  int files_ = 0;
  int64_t samples_ = 0;
  std::vector<std::string> limits_;
};

}  // namespace kelvora::batch
