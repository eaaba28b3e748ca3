#pragma once

#include <cstdint>
#include <string>

#include "batch/BackupFolder.h"
#include "batch/JobProgress.h"
#include "batch/JobResult.h"
#include "batch/Snapshot.h"
#include "batch/TransferWatch.h"
#include "protocol/Eps.h"

namespace kelvora::batch {

struct BackupOptions {
  // Write into a folder whose backup holds instruments or wavesamples the sampler no longer has
  // (or whose manifest cannot be read), replacing that backup.
  bool replace = false;
  uint32_t stallLimitMs = kDefaultStallLimitMs;
};

// Backs up every instrument, layer and wavesample of the sampler into a folder: the three kinds
// of parameter record as read, each wavesample's data as a WAV file (copies, which play another
// wavesample's data, only as their record and link), and manifest.json with a SHA-256 of every
// file. The manifest is rewritten after every file, so the job resumes: a second run reads the
// records again (they are small) and transfers only the data that is missing, whose file does
// not match its SHA-256, or whose record changed on the sampler since.
//
// The session's devices must be open. The job stops at once when the user cancels, when the
// sampler stops answering and when the disk is full; a wavesample the sampler refuses is noted
// and the job goes on with the next.
class BackupJob {
 public:
  BackupJob(protocol::TEps& eps, JobProgress& progress, BackupOptions options = {});

  JobResult Run(const std::string& folder);

 private:
  bool OpenFolder(const BackupFolder& folder);
  bool LoadEarlier(const BackupFolder& folder);
  bool CheckReplacement();
  bool WriteRecords(const BackupFolder& folder);
  bool CarryOver(const InstrumentImage& instrument, WaveSampleImage& ws);
  bool WriteManifest(const BackupFolder& folder, bool complete);
  void FetchAll(const BackupFolder& folder);
  bool FetchOne(class DataFetcher& fetcher, const BackupFolder& folder,
                const InstrumentImage& instrument, WaveSampleImage& ws);
  void RemoveDropped(const BackupFolder& folder) const;
  bool Complete() const;
  JobResult Stop(transfer::TransferOutcome outcome, const std::string& message);

  protocol::TEps& eps_;
  JobProgress& progress_;
  BackupOptions options_;
  Snapshot earlier_;
  bool haveEarlier_ = false;
  Snapshot now_;
  JobResult result_;
};

}  // namespace kelvora::batch
