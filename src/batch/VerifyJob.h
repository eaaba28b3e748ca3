#pragma once

#include <cstdint>
#include <string>

#include "batch/BackupReader.h"
#include "batch/JobProgress.h"
#include "batch/JobResult.h"
#include "batch/TransferWatch.h"
#include "protocol/Eps.h"

namespace kelvora::batch {

// Compares a backup folder with the sampler, reading everything again:
//  - every file against its SHA-256 in manifest.json (on the disk, no MIDI traffic);
//  - every instrument, layer and wavesample record, read again, word for word against its file;
//  - every wavesample's data, downloaded again in full, against the samples' SHA-256.
// On the wire that costs as much as the backup itself: each record once more and each sample
// once more (three bytes a sample at 31250 baud, about 1042 samples a second). Nothing in the
// folder is changed; the downloads go to a temporary folder. Each difference is one problem of
// the result, naming the slot and what differs; a backup `backup` would leave as it is verifies
// without problems.
class VerifyJob {
 public:
  VerifyJob(protocol::TEps& eps, JobProgress& progress,
            uint32_t stallLimitMs = kDefaultStallLimitMs);

  JobResult Run(const std::string& folder);

 private:
  void CompareRecords(const InstrumentImage& backup, const InstrumentImage& sampler);
  void CompareRecord(const std::string& label, const Record& backup, const Record& sampler);
  void CompareMissing(const Snapshot& backup, const Snapshot& sampler);
  bool CompareData(const Snapshot& backup, const Snapshot& sampler);
  bool CompareOne(class DataFetcher& fetcher, const InstrumentImage& sampler,
                  const WaveSampleImage& ws, const StoredData& data);
  void Problem(const std::string& text);
  JobResult Stop(transfer::TransferOutcome outcome, const std::string& message);

  protocol::TEps& eps_;
  JobProgress& progress_;
  uint32_t stallLimitMs_;
  JobResult result_;
};

// The words of two records that differ, as "80, 131" (at most the first eight, then "...");
// a record of another size is "its size".
std::string DifferingWords(const Record& a, const Record& b);

}  // namespace kelvora::batch
