#pragma once

#include <string>

#include "batch/BackupFolder.h"
#include "batch/JobProgress.h"
#include "batch/Snapshot.h"
#include "batch/TransferWatch.h"
#include "protocol/Eps.h"

namespace kelvora::batch {

// How fetching one wavesample's data ended.
enum class FetchStatus {
  Done,
  Cancelled,  // the user stopped the job
  Stalled,    // the sampler stopped answering: the job cannot go on
  NoRoom,     // the disk cannot take the file: the job cannot go on
  Failed,     // this wavesample did not come (the sampler refused it, the file is damaged)
};

struct FetchOutcome {
  FetchStatus status = FetchStatus::Failed;
  std::string message;  // for a person, when not Done
  StoredData data;
};

// Downloads the data of a wavesample that holds its own, from its first sample to the furthest
// sample end of it and its copies, into a WAV file of a backup folder through the download
// engine: the file is written under a temporary name and renamed only once it is whole and its
// samples are hashed.
class DataFetcher {
 public:
  DataFetcher(protocol::TEps& eps, const BackupFolder& folder, JobProgress& progress,
              uint32_t stallLimitMs);

  // Into `relative`, replacing what is there only once the new file is whole.
  FetchOutcome Fetch(const InstrumentImage& instrument, const WaveSampleImage& holder,
                     const std::string& relative);
  // Into a temporary file that is removed again; `data` describes what came.
  FetchOutcome FetchScratch(const InstrumentImage& instrument, const WaveSampleImage& holder,
                            const std::string& relative);

 private:
  FetchOutcome Download(const InstrumentImage& instrument, const WaveSampleImage& holder,
                        const std::string& partRelative);
  bool RoomFor(int64_t samples, FetchOutcome& outcome) const;

  protocol::TEps& eps_;
  const BackupFolder& folder_;
  TransferWatch watch_;
};

// "instrument 2, wavesample 3 (Warm Pad)": the slot as the user numbers it, and the name.
std::string WaveSampleLabel(const InstrumentImage& instrument, const WaveSampleImage& ws);

}  // namespace kelvora::batch
