#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>

#include "batch/BackupReader.h"
#include "batch/JobProgress.h"
#include "batch/JobResult.h"
#include "batch/RestorePlan.h"
#include "batch/SamplerCommands.h"
#include "batch/SnapshotReader.h"
#include "batch/TransferWatch.h"
#include "protocol/Eps.h"

namespace kelvora::batch {

// Rebuilds instruments of a backup folder in the sampler, into free slots or the slot named:
// each instrument is created empty, its layers and wavesamples are created in their own numbers,
// each wavesample gets its data (sent from its WAV file; a copy's data is copied by the sampler
// from its source) and its parameter record as backed up (positions, loop, playback mode, rate,
// root key, key range, name, envelopes and the rest); then the layer records and the
// instrument's name, patch layers, key range and transposition are written back.
//
// Every record is read back afterwards and compared with the backup: what the protocol cannot
// bring back is listed in the result's limits (from the plan, and any word the sampler did not
// take) instead of being passed over. A key range the wavesample record did not set is sent
// again with PUT PARAMETER. The session's devices must be open.
class RestoreJob {
 public:
  RestoreJob(protocol::TEps& eps, JobProgress& progress, RestoreOptions options = {},
             uint32_t stallLimitMs = kDefaultStallLimitMs);

  // Asked once the plan is made and before anything is sent, with the backup's instruments;
  // false cancels the restore (an empty message) with the sampler unchanged.
  using Confirmation = std::function<bool(const RestorePlan& plan, const Snapshot& backup)>;
  void SetConfirmation(Confirmation confirm) { confirm_ = std::move(confirm); }

  JobResult Run(const std::string& folder);

 private:
  // What is in the instrument being rebuilt so far.
  struct Building {
    const InstrumentImage* backup = nullptr;
    int to = 0;
    std::set<int> layers;
    std::set<int> waveSamples;
  };

  bool ReadSlots(Snapshot& sampler);
  bool RestoreInstrument(const BackupFolder& folder, const InstrumentImage& backup, int to);
  bool EnsureWaveSample(Building& building, int layer, int number);
  bool CreateLayer(Building& building, int layer, int number);
  bool RestoreData(const BackupFolder& folder, Building& building, const WaveSampleImage& ws);
  bool RestoreRecord(Building& building, const WaveSampleImage& ws);
  bool RestoreLayers(Building& building);
  bool RestoreInstrumentRecord(Building& building);
  void CompareBack(const std::string& label, const Record& wanted, const Record& read,
                   const std::set<int>& ignored);
  bool Fail(const Building& building, const std::string& reason);
  JobResult Stop(transfer::TransferOutcome outcome, const std::string& message);

  protocol::TEps& eps_;
  JobProgress& progress_;
  RestoreOptions options_;
  uint32_t stallLimitMs_;
  SamplerCommands commands_;
  SnapshotReader reader_;
  JobResult result_;
  Confirmation confirm_;
};

}  // namespace kelvora::batch
