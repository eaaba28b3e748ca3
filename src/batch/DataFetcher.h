#pragma once

#include <string>

#include "batch/BackupFolder.h"
#include "batch/JobProgress.h"
#include "batch/Snapshot.h"
#include "batch/StepOutcome.h"
#include "batch/TransferWatch.h"
#include "protocol/Eps.h"

namespace kelvora::batch {

// Downloads the data of a wavesample that holds its own, from its first sample to the furthest
// sample end of it and its copies, into a WAV file of a backup folder through the download
// engine: the file is written under a temporary name and renamed only once it is whole and its
// samples are hashed.
class DataFetcher {
 public:
  DataFetcher(protocol::TEps& eps, const BackupFolder& folder, JobProgress& progress,
              uint32_t stallLimitMs);

  // Into `relative`, replacing what is there only once the new file is whole.
  StepOutcome Fetch(const InstrumentImage& instrument, const WaveSampleImage& holder,
                    const std::string& relative);
  // Into a temporary file that is removed again; `data` describes what came.
  StepOutcome FetchScratch(const InstrumentImage& instrument, const WaveSampleImage& holder,
                           const std::string& relative);

 private:
  StepOutcome Download(const InstrumentImage& instrument, const WaveSampleImage& holder,
                       const std::string& partRelative);
  bool RoomFor(int64_t samples, StepOutcome& outcome) const;

  protocol::TEps& eps_;
  const BackupFolder& folder_;
  TransferWatch watch_;
};

// "3/1/1 Warm Pad": the wavesample's slot as the user writes it (I/L/W), and its name.
std::string WaveSampleLabel(const InstrumentImage& instrument, const WaveSampleImage& ws);

}  // namespace kelvora::batch
