#include "batch/VerifyJob.h"

#include <QTemporaryDir>

#include "batch/DataFetcher.h"
#include "batch/SnapshotReader.h"

namespace kelvora::batch {

using transfer::TransferOutcome;

namespace {

constexpr int kWordsNamed = 8;

std::string Slot(const InstrumentImage& instrument) {
  return "instrument " + std::to_string(instrument.index + 1);
}

}  // namespace

std::string DifferingWords(const Record& a, const Record& b) {
  if (a.size() != b.size()) return "its size";
  std::string words;
  int named = 0;
  for (size_t n = 0; n < a.size(); ++n) {
    if (a[n] == b[n]) continue;
    if (named == kWordsNamed) return words + ", ...";
    words += (named++ ? ", " : "") + std::to_string(n);
  }
  return words;
}

VerifyJob::VerifyJob(protocol::TEps& eps, JobProgress& progress, uint32_t stallLimitMs)
    : eps_(eps), progress_(progress), stallLimitMs_(stallLimitMs) {}

JobResult VerifyJob::Run(const std::string& root) {
  result_ = JobResult{};
  BackupContents backup;
  std::string failure;
  if (!ReadBackup(BackupFolder(root), backup, failure)) {
    return Stop(TransferOutcome::Refused, failure);
  }
  for (const std::string& damaged : backup.damaged) Problem(damaged);
  if (!backup.complete) Problem("The backup is not complete: run the backup again to finish it.");
  if (eps_.WsOpen) eps_.CloseWs();
  Snapshot sampler;
  SnapshotReader reader(eps_);
  if (!reader.Read(sampler, failure)) return Stop(TransferOutcome::Failed, failure);
  for (const std::string& skipped : reader.Skipped()) Problem(skipped);
  CompareMissing(backup.snapshot, sampler);
  for (const InstrumentImage& instrument : backup.snapshot.instruments) {
    if (const InstrumentImage* current = sampler.Find(instrument.index)) {
      CompareRecords(instrument, *current);
    }
  }
  CompareData(backup.snapshot, sampler);
  return result_;
}

// Objects on one side only.
void VerifyJob::CompareMissing(const Snapshot& backup, const Snapshot& sampler) {
  for (const InstrumentImage& instrument : sampler.instruments) {
    if (!backup.Find(instrument.index)) {
      Problem(Slot(instrument) + " (" + instrument.Name() + ") is not in the backup.");
    }
  }
  for (const InstrumentImage& instrument : backup.instruments) {
    const InstrumentImage* current = sampler.Find(instrument.index);
    if (!current) {
      Problem(Slot(instrument) + " is in the backup but not in the sampler.");
      continue;
    }
    for (const WaveSampleImage& ws : current->waveSamples) {
      if (!instrument.Find(ws.number))
        Problem(WaveSampleLabel(*current, ws) + " is not in the backup.");
    }
    for (const WaveSampleImage& ws : instrument.waveSamples) {
      if (!current->Find(ws.number)) {
        Problem(Slot(instrument) + ", wavesample " + std::to_string(ws.number) +
                " is in the backup but not in the sampler.");
      }
    }
  }
}

void VerifyJob::CompareRecords(const InstrumentImage& backup, const InstrumentImage& sampler) {
  CompareRecord(Slot(backup), backup.record, sampler.record);
  for (const LayerImage& layer : backup.layers) {
    const LayerImage* current = sampler.FindLayer(layer.index);
    const std::string label = Slot(backup) + ", layer " + std::to_string(layer.index + 1);
    if (!current) {
      Problem(label + " is in the backup but not in the sampler.");
    } else {
      CompareRecord(label, layer.record, current->record);
    }
  }
  for (const WaveSampleImage& ws : backup.waveSamples) {
    if (const WaveSampleImage* current = sampler.Find(ws.number)) {
      CompareRecord(WaveSampleLabel(backup, ws), ws.record, current->record);
    }
  }
}

// A record whose file is damaged was reported with the file.
void VerifyJob::CompareRecord(const std::string& label, const Record& backup,
                              const Record& sampler) {
  if (backup.empty() || backup == sampler) return;
  Problem(label + ": the record differs from the sampler's in words " +
          DifferingWords(backup, sampler) + ".");
}

bool VerifyJob::CompareData(const Snapshot& backup, const Snapshot& sampler) {
  int files = 0;
  int64_t samples = 0;
  for (const InstrumentImage& instrument : backup.instruments) {
    for (const WaveSampleImage& ws : instrument.waveSamples) {
      if (ws.data && sampler.Find(instrument.index)) {
        ++files;
        samples += ws.data->samples;
      }
    }
  }
  progress_.JobStarted(files, samples);
  QTemporaryDir scratch;
  const BackupFolder scratchFolder(scratch.path().toStdString());
  DataFetcher fetcher(eps_, scratchFolder, progress_, stallLimitMs_);
  for (const InstrumentImage& instrument : backup.instruments) {
    const InstrumentImage* current = sampler.Find(instrument.index);
    for (const WaveSampleImage& ws : instrument.waveSamples) {
      const WaveSampleImage* now = current ? current->Find(ws.number) : nullptr;
      if (!ws.data || !now) continue;
      if (!CompareOne(fetcher, *current, *now, *ws.data)) return false;
    }
  }
  return true;
}

// False when the job cannot go on.
bool VerifyJob::CompareOne(DataFetcher& fetcher, const InstrumentImage& sampler,
                           const WaveSampleImage& ws, const StoredData& data) {
  const std::string label = WaveSampleLabel(sampler, ws);
  const int length = sampler.DataLength(ws.number);
  if (ws.CopyOf() != 0 || length != data.samples) {
    Problem(label + ": the backup holds " + std::to_string(data.samples) +
            " samples of data; the sampler now has " +
            (ws.CopyOf() ? "a copy there" : std::to_string(length) + " to back up") + ".");
    return true;
  }
  progress_.FileStarted(label, length);
  const StepOutcome outcome = fetcher.FetchScratch(sampler, ws, "verify.wav");
  progress_.FileFinished(outcome.status == StepStatus::Done);
  switch (outcome.status) {
    case StepStatus::Done:
      ++result_.filesTransferred;
      result_.samplesTransferred += outcome.data.samples;
      if (outcome.data.samplesSha256 != data.samplesSha256) {
        Problem(label + ": the samples differ from the sampler's.");
      }
      return true;
    case StepStatus::Failed:
      Problem(label + ": " + outcome.message);
      return true;
    case StepStatus::Cancelled:
      Stop(TransferOutcome::Cancelled, "The verify was stopped.");
      return false;
    default:
      Stop(TransferOutcome::Failed, label + ": " + outcome.message);
      return false;
  }
}

void VerifyJob::Problem(const std::string& text) { result_.problems.push_back(text); }

JobResult VerifyJob::Stop(TransferOutcome outcome, const std::string& message) {
  result_.outcome = outcome;
  result_.message = message;
  return result_;
}

}  // namespace kelvora::batch
