#include "batch/DataFetcher.h"

#include <algorithm>

#include "batch/SlotPath.h"
#include "batch/WavSamples.h"
#include "protocol/Records.h"
#include "transfer/DownloadEngine.h"

namespace kelvora::batch {

using namespace protocol;
using transfer::TransferOutcome;

namespace {

// Header and chunks of a WAV file besides its samples, with room to spare.
constexpr int64_t kWavOverheadBytes = 4096;

}  // namespace

std::string WaveSampleLabel(const InstrumentImage& instrument, const WaveSampleImage& ws) {
  const std::string slot = FormatWaveSample(instrument.index, ws.layer, ws.number);
  const std::string name = ws.Name();
  return name.empty() ? slot : slot + " " + name;
}

DataFetcher::DataFetcher(TEps& eps, const BackupFolder& folder, JobProgress& progress,
                         uint32_t stallLimitMs)
    : eps_(eps), folder_(folder), watch_(progress, *eps.MidiIn, stallLimitMs) {}

StepOutcome DataFetcher::Fetch(const InstrumentImage& instrument, const WaveSampleImage& holder,
                               const std::string& relative) {
  const std::string part = relative + BackupFolder::kPartSuffix;
  StepOutcome outcome = Download(instrument, holder, part);
  if (outcome.status != StepStatus::Done) return outcome;
  if (!folder_.Commit(part, relative, outcome.message)) {
    outcome.status = StepStatus::NoRoom;
    return outcome;
  }
  outcome.data.file.path = relative;
  return outcome;
}

StepOutcome DataFetcher::FetchScratch(const InstrumentImage& instrument,
                                      const WaveSampleImage& holder, const std::string& relative) {
  const std::string part = relative + BackupFolder::kPartSuffix;
  StepOutcome outcome = Download(instrument, holder, part);
  folder_.Remove(part);
  return outcome;
}

// The engine downloads [sample start, sample end) of the record in WsParams; the backup keeps
// the data from its first sample, so the record it is given starts at 0 and ends where the
// furthest of the holder and its copies ends.
StepOutcome DataFetcher::Download(const InstrumentImage& instrument, const WaveSampleImage& holder,
                                  const std::string& partRelative) {
  StepOutcome outcome;
  const int length = instrument.DataLength(holder.number);
  if (!RoomFor(length, outcome)) return outcome;
  std::copy(holder.record.begin(), holder.record.end(), eps_.WsParams);
  SetPosition(eps_.WsParams, kWsSampleStart, 0);
  SetPosition(eps_.WsParams, kWsSampleEnd, length);
  eps_.Instrument = instrument.index;
  eps_.Layer = std::max(holder.layer, 0);
  eps_.WaveSample = holder.number;
  watch_.Start(length);
  transfer::DownloadEngine engine(eps_, watch_);
  const transfer::TransferResult result = engine.Download(folder_.Path(partRelative));
  if (!result.Succeeded()) {
    folder_.Remove(partRelative);
    outcome.message = result.message;
    if (watch_.Stalled()) {
      outcome.status = StepStatus::Stalled;
      outcome.message = TransferWatch::StallMessage();
    } else if (watch_.UserCancelled()) {
      outcome.status = StepStatus::Cancelled;
    } else if (result.noDestination) {
      outcome.status = StepStatus::NoRoom;
    }
    return outcome;
  }
  if (!HashSamples(folder_.Path(partRelative), outcome.data.samplesSha256, outcome.data.samples,
                   outcome.message) ||
      outcome.data.samples != length) {
    if (outcome.message.empty()) outcome.message = "The WAV file does not hold every sample.";
    folder_.Remove(partRelative);
    return outcome;
  }
  outcome.data.file.sha256 = folder_.Sha256(partRelative);
  outcome.status = StepStatus::Done;
  return outcome;
}

bool DataFetcher::RoomFor(int64_t samples, StepOutcome& outcome) const {
  const int64_t needed = 2 * samples + kWavOverheadBytes;
  const int64_t free = folder_.FreeBytes();
  if (free < 0 || free >= needed) return true;
  outcome.status = StepStatus::NoRoom;
  outcome.message = "The disk holding '" + folder_.Root() + "' has " + std::to_string(free) +
                    " bytes free; the next file needs " + std::to_string(needed) + ".";
  return false;
}

}  // namespace kelvora::batch
