#include "batch/BackupJob.h"

#include <set>

#include "batch/BackupReader.h"
#include "batch/DataFetcher.h"
#include "batch/Manifest.h"
#include "batch/SnapshotReader.h"
#include "protocol/Records.h"

namespace kelvora::batch {

using namespace protocol;
using transfer::TransferOutcome;

namespace {

bool Holds(const WaveSampleImage& ws) { return ws.CopyOf() == 0; }

std::string InstrumentLabel(const InstrumentImage& instrument) {
  const std::string label = "instrument " + std::to_string(instrument.index + 1);
  const std::string name = instrument.Name();
  return name.empty() ? label : label + " (" + name + ")";
}

void CollectPaths(const Snapshot& snapshot, std::set<std::string>& paths) {
  for (const InstrumentImage& instrument : snapshot.instruments) {
    paths.insert(instrument.recordFile.path);
    for (const LayerImage& layer : instrument.layers) paths.insert(layer.recordFile.path);
    for (const WaveSampleImage& ws : instrument.waveSamples) {
      paths.insert(ws.recordFile.path);
      if (ws.data) paths.insert(ws.data->file.path);
    }
  }
}

}  // namespace

BackupJob::BackupJob(TEps& eps, JobProgress& progress, BackupOptions options)
    : eps_(eps), progress_(progress), options_(options) {}

JobResult BackupJob::Run(const std::string& root) {
  result_ = JobResult{};
  const BackupFolder folder(root);
  if (!OpenFolder(folder)) return result_;
  if (eps_.WsOpen) eps_.CloseWs();
  std::string failure;
  SnapshotReader reader(eps_);
  if (!reader.Read(now_, failure)) return Stop(TransferOutcome::Failed, failure);
  for (const std::string& skipped : reader.Skipped()) {
    result_.problems.push_back(skipped + " It is not in the backup.");
  }
  if (!CheckReplacement() || !WriteRecords(folder)) return result_;
  FetchAll(folder);
  if (result_.outcome != TransferOutcome::Done) return result_;
  if (!WriteManifest(folder, Complete() && result_.problems.empty())) return result_;
  if (options_.replace) RemoveDropped(folder);
  return result_;
}

bool BackupJob::OpenFolder(const BackupFolder& folder) {
  std::string failure;
  switch (folder.Examine()) {
    case BackupFolder::State::NotAFolder:
      Stop(TransferOutcome::Refused, "'" + folder.Root() + "' is a file, not a folder.");
      return false;
    case BackupFolder::State::Foreign:
      Stop(TransferOutcome::Refused, "'" + folder.Root() +
                                         "' holds other files and no backup; back up into an "
                                         "empty or new folder.");
      return false;
    case BackupFolder::State::Missing:
      if (!folder.Create(failure)) {
        Stop(TransferOutcome::Failed, failure);
        return false;
      }
      break;
    case BackupFolder::State::Backup:
      folder.RemoveParts();
      return LoadEarlier(folder);
    case BackupFolder::State::Empty:
      break;
  }
  // A manifest from the start marks the folder as a backup's, so a run killed before its first
  // file still leaves a folder the next run resumes.
  haveEarlier_ = false;
  now_ = Snapshot{};
  return WriteManifest(folder, false);
}

// The earlier manifest and the records it names; a record or data file that no longer matches
// its SHA-256 is dropped, so nothing of its wavesample is trusted.
bool BackupJob::LoadEarlier(const BackupFolder& folder) {
  BackupContents contents;
  std::string failure;
  haveEarlier_ = ReadBackup(folder, contents, failure);
  if (haveEarlier_) {
    earlier_ = std::move(contents.snapshot);
    return true;
  }
  if (options_.replace) return true;
  result_.replaceable = true;
  Stop(TransferOutcome::Refused, failure + " Nothing in '" + folder.Root() +
                                     "' can be trusted; back up into another folder, or replace "
                                     "this backup.");
  return false;
}

// A backup is not thrown away by accident: an instrument or wavesample it holds that the
// sampler no longer has under the same slot and name stops the job unless told to replace.
bool BackupJob::CheckReplacement() {
  if (!haveEarlier_ || options_.replace) return true;
  for (const InstrumentImage& old : earlier_.instruments) {
    const InstrumentImage* current = now_.Find(old.index);
    std::string lost;
    if (!current) {
      lost = InstrumentLabel(old);
    } else {
      for (const WaveSampleImage& ws : old.waveSamples) {
        const WaveSampleImage* same = current->Find(ws.number);
        if (!same || (!ws.record.empty() && same->Name() != ws.Name())) {
          lost = WaveSampleLabel(old, ws);
          break;
        }
      }
    }
    if (lost.empty()) continue;
    result_.replaceable = true;
    Stop(TransferOutcome::Refused,
         "The folder holds a backup of " + lost +
             ", which the sampler no longer holds; back up into another folder, or replace "
             "this backup.");
    return false;
  }
  return true;
}

bool BackupJob::WriteRecords(const BackupFolder& folder) {
  std::string failure;
  for (InstrumentImage& instrument : now_.instruments) {
    const int i = instrument.index;
    bool ok = folder.WriteRecord(BackupFolder::InstrumentRecordPath(i), instrument.record,
                                 instrument.recordFile, failure);
    for (LayerImage& layer : instrument.layers) {
      ok = ok && folder.WriteRecord(BackupFolder::LayerRecordPath(i, layer.index), layer.record,
                                    layer.recordFile, failure);
    }
    for (WaveSampleImage& ws : instrument.waveSamples) {
      ok = ok && folder.WriteRecord(BackupFolder::WaveSampleRecordPath(i, ws.number), ws.record,
                                    ws.recordFile, failure);
      if (ok && Holds(ws) && CarryOver(instrument, ws)) ++result_.filesKept;
    }
    if (!ok) {
      Stop(TransferOutcome::Failed, failure);
      return false;
    }
  }
  return WriteManifest(folder, false);
}

// The earlier run's data stays when its record is the same as now and it holds as many samples
// as are kept now (its file matched its SHA-256 when the earlier backup was read).
bool BackupJob::CarryOver(const InstrumentImage& instrument, WaveSampleImage& ws) {
  const InstrumentImage* old = haveEarlier_ ? earlier_.Find(instrument.index) : nullptr;
  const WaveSampleImage* before = old ? old->Find(ws.number) : nullptr;
  if (!before || !before->data || before->record != ws.record ||
      before->data->samples != instrument.DataLength(ws.number) ||
      before->data->file.path != BackupFolder::WaveSampleDataPath(instrument.index, ws.number)) {
    return false;
  }
  ws.data = before->data;
  progress_.Note(WaveSampleLabel(instrument, ws) + ": kept from the earlier run.");
  return true;
}

bool BackupJob::WriteManifest(const BackupFolder& folder, bool complete) {
  std::string failure;
  if (folder.WriteAtomically(BackupFolder::kManifest, ManifestJson(now_, complete), failure)) {
    return true;
  }
  Stop(TransferOutcome::Failed, failure);
  return false;
}

void BackupJob::FetchAll(const BackupFolder& folder) {
  int files = 0;
  int64_t samples = 0;
  for (const InstrumentImage& instrument : now_.instruments) {
    for (const WaveSampleImage& ws : instrument.waveSamples) {
      const int length = instrument.DataLength(ws.number);
      if (!Holds(ws) || ws.data || length == 0) continue;
      ++files;
      samples += length;
    }
  }
  progress_.JobStarted(files, samples);
  DataFetcher fetcher(eps_, folder, progress_, options_.stallLimitMs);
  for (InstrumentImage& instrument : now_.instruments) {
    for (WaveSampleImage& ws : instrument.waveSamples) {
      if (!Holds(ws) || ws.data || instrument.DataLength(ws.number) == 0) continue;
      if (!FetchOne(fetcher, folder, instrument, ws)) return;
    }
  }
}

// False when the job cannot go on.
bool BackupJob::FetchOne(DataFetcher& fetcher, const BackupFolder& folder,
                         const InstrumentImage& instrument, WaveSampleImage& ws) {
  const std::string label = WaveSampleLabel(instrument, ws);
  progress_.FileStarted(label, instrument.DataLength(ws.number));
  const StepOutcome outcome =
      fetcher.Fetch(instrument, ws, BackupFolder::WaveSampleDataPath(instrument.index, ws.number));
  progress_.FileFinished(outcome.status == StepStatus::Done);
  switch (outcome.status) {
    case StepStatus::Done:
      ws.data = outcome.data;
      ++result_.filesTransferred;
      result_.samplesTransferred += outcome.data.samples;
      return WriteManifest(folder, false);
    case StepStatus::Failed:
      result_.problems.push_back(label + ": " + outcome.message);
      return true;
    case StepStatus::Cancelled:
      Stop(TransferOutcome::Cancelled, "The backup was stopped; run it again to resume.");
      return false;
    default:
      Stop(TransferOutcome::Failed, label + ": " + outcome.message);
      return false;
  }
}

void BackupJob::RemoveDropped(const BackupFolder& folder) const {
  std::set<std::string> kept;
  std::set<std::string> before;
  CollectPaths(now_, kept);
  CollectPaths(earlier_, before);
  for (const std::string& path : before) {
    if (!kept.count(path)) folder.Remove(path);
  }
}

bool BackupJob::Complete() const {
  for (const InstrumentImage& instrument : now_.instruments) {
    for (const WaveSampleImage& ws : instrument.waveSamples) {
      if (Holds(ws) && !ws.data && instrument.DataLength(ws.number) > 0) return false;
    }
  }
  return true;
}

JobResult BackupJob::Stop(TransferOutcome outcome, const std::string& message) {
  result_.outcome = outcome;
  result_.message = message;
  return result_;
}

}  // namespace kelvora::batch
