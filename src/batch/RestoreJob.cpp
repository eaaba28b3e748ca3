#include "batch/RestoreJob.h"

#include "batch/DataFetcher.h"
#include "batch/DataSender.h"
#include "batch/SlotPath.h"
#include "batch/VerifyJob.h"
#include "protocol/Occupancy.h"
#include "protocol/Records.h"

namespace kelvora::batch {

using namespace protocol;
using transfer::TransferOutcome;

namespace {

constexpr int kCopyLayerWord = 13;
// Instrument words written back: the name, the patch and key-up/down layer maps, the key range
// and the transposition. The rest place things in the sampler's memory or are undocumented.
constexpr std::pair<int, int> kInstrumentWordsWritten[] = {{0, 11}, {17, 22}, {26, 28}};
constexpr int kInstrSizeWord = 15;
constexpr int kInstrIdWord = 25;
constexpr int kFirstOffsetWord = 29;  // pitch-table, layer, wavesample and effect offsets
constexpr int kLastOffsetWord = 317;

std::set<int> InstrumentMemoryWords() {
  std::set<int> words{kInstrSizeWord, kInstrIdWord};
  for (int n = kFirstOffsetWord; n <= kLastOffsetWord; ++n) words.insert(n);
  return words;
}

Target TargetOf(int instrument, int layer, int number) { return Target{instrument, layer, number}; }

bool InUse(const Record& record, int first) { return record[first] != 0 || record[first + 1] != 0; }

}  // namespace

RestoreJob::RestoreJob(TEps& eps, JobProgress& progress, RestoreOptions options,
                       uint32_t stallLimitMs)
    : eps_(eps),
      progress_(progress),
      options_(options),
      stallLimitMs_(stallLimitMs),
      commands_(eps),
      reader_(eps) {}

JobResult RestoreJob::Run(const std::string& root) {
  result_ = JobResult{};
  const BackupFolder folder(root);
  BackupContents backup;
  std::string failure;
  if (!ReadBackup(folder, backup, failure)) return Stop(TransferOutcome::Refused, failure);
  if (eps_.WsOpen) eps_.CloseWs();
  Snapshot sampler;
  if (!ReadSlots(sampler)) return result_;
  RestorePlan plan;
  if (!plan.Make(backup.snapshot, sampler, options_, failure)) {
    return Stop(TransferOutcome::Refused, failure);
  }
  result_.limits = plan.Limits();
  if (confirm_ && !confirm_(plan, backup.snapshot)) {
    return Stop(TransferOutcome::Cancelled, "");
  }
  progress_.JobStarted(plan.Files(), plan.Samples());
  for (const RestorePlan::Move& move : plan.Moves()) {
    if (!RestoreInstrument(folder, *backup.snapshot.Find(move.from), move.to)) break;
  }
  return result_;
}

// Which slots are taken: only the instrument records are read.
bool RestoreJob::ReadSlots(Snapshot& sampler) {
  for (int i = 0; i < kInstruments; ++i) {
    InstrumentImage image;
    image.index = i;
    if (reader_.ReadInstrumentRecord(i, image.record)) {
      sampler.instruments.push_back(std::move(image));
    } else if (reader_.LastResult() != prNoInstrument) {
      Stop(TransferOutcome::Failed,
           reader_.Failure("the record of instrument " + std::to_string(i + 1)));
      return false;
    }
  }
  return true;
}

bool RestoreJob::RestoreInstrument(const BackupFolder& folder, const InstrumentImage& backup,
                                   int to) {
  Building building{&backup, to, {}, {}};
  if (!commands_.CreateInstrument(to)) return Fail(building, commands_.Failure());
  for (int number : RestorePlan::Order(backup)) {
    if (progress_.Cancelled()) {
      Stop(TransferOutcome::Cancelled, "The restore was stopped.");
      return Fail(building, "");
    }
    const WaveSampleImage& ws = *backup.Find(number);
    if (!EnsureWaveSample(building, RestorePlan::LayerOf(backup, ws), number) ||
        !RestoreData(folder, building, ws) || !RestoreRecord(building, ws)) {
      return false;
    }
  }
  return RestoreLayers(building) && RestoreInstrumentRecord(building);
}

bool RestoreJob::EnsureWaveSample(Building& building, int layer, int number) {
  if (!building.layers.count(layer) && !CreateLayer(building, layer, number)) return false;
  if (building.waveSamples.count(number)) return true;
  if (!commands_.CreateWaveSample(TargetOf(building.to, layer, number))) {
    return Fail(building, commands_.Failure());
  }
  building.waveSamples.insert(number);
  return true;
}

// A new layer comes with a wavesample of the sampler's choosing. It is kept when the backup
// has a wavesample of that number in this layer still to rebuild, and deleted otherwise.
bool RestoreJob::CreateLayer(Building& building, int layer, int number) {
  if (!commands_.CreateLayer(TargetOf(building.to, layer, number))) {
    return Fail(building, commands_.Failure());
  }
  Record record;
  if (!reader_.ReadInstrumentRecord(building.to, record)) {
    return Fail(building, reader_.Failure("the new instrument's record"));
  }
  if (!InUse(record, kInstrLayerWords + 2 * layer)) {
    return Fail(building, "The sampler did not make layer " + std::to_string(layer + 1) + ".");
  }
  building.layers.insert(layer);
  for (int k = 0; k < kWaveSamples; ++k) {
    const int made = k + 1;
    if (!InUse(record, kInstrWsWords + 2 * k) || building.waveSamples.count(made)) continue;
    const WaveSampleImage* wanted = building.backup->Find(made);
    if (wanted && RestorePlan::LayerOf(*building.backup, *wanted) == layer) {
      building.waveSamples.insert(made);
    } else if (!commands_.DeleteWaveSample(TargetOf(building.to, layer, made))) {
      return Fail(building, commands_.Failure());
    }
  }
  return true;
}

bool RestoreJob::RestoreData(const BackupFolder& folder, Building& building,
                             const WaveSampleImage& ws) {
  const InstrumentImage& backup = *building.backup;
  const Target target = TargetOf(building.to, RestorePlan::LayerOf(backup, ws), ws.number);
  if (const int source = ws.CopyOf(); source != 0) {
    const Target from =
        TargetOf(building.to, RestorePlan::LayerOf(backup, *backup.Find(source)), source);
    if (commands_.CopyData(from, target, backup.DataLength(source))) return true;
    return Fail(building, commands_.Failure());
  }
  if (!ws.data) return true;  // a wavesample without samples keeps what the sampler made
  const std::string label = WaveSampleLabel(backup, ws);
  progress_.FileStarted(label, ws.data->samples);
  DataSender sender(eps_, progress_, stallLimitMs_);
  const StepOutcome outcome = sender.Send(target, folder.Path(ws.data->file.path));
  progress_.FileFinished(outcome.status == StepStatus::Done);
  if (outcome.status == StepStatus::Cancelled) {
    Stop(TransferOutcome::Cancelled, "The restore was stopped.");
    return Fail(building, "");
  }
  if (outcome.status != StepStatus::Done) return Fail(building, label + ": " + outcome.message);
  ++result_.filesTransferred;
  result_.samplesTransferred += outcome.data.samples;
  return true;
}

// The record as backed up; a copy now holds its data, so its link words are cleared. The key
// range is sent again by PUT PARAMETER when the record alone did not set it.
bool RestoreJob::RestoreRecord(Building& building, const WaveSampleImage& ws) {
  const Target target =
      TargetOf(building.to, RestorePlan::LayerOf(*building.backup, ws), ws.number);
  Record wanted = ws.record;
  wanted[kWsCopySource] = wanted[kCopyLayerWord] = 0;
  if (!commands_.PutWaveSampleRecord(target, wanted)) return Fail(building, commands_.Failure());
  Record read;
  const auto readBack = [&] {
    return reader_.ReadWaveSampleRecord(target.instrument, target.layer, target.waveSample, read);
  };
  if (!readBack()) return Fail(building, reader_.Failure("a restored record"));
  if (read[kWsLowKey] != wanted[kWsLowKey] || read[kWsHighKey] != wanted[kWsHighKey]) {
    commands_.PutKeyRange(target, wanted[kWsLowKey] >> 8, wanted[kWsHighKey] >> 8);
    if (!readBack()) return Fail(building, reader_.Failure("a restored record"));
  }
  CompareBack(
      "instrument " + std::to_string(building.to + 1) + ", wavesample " + std::to_string(ws.number),
      wanted, read, {});
  return true;
}

bool RestoreJob::RestoreLayers(Building& building) {
  for (const LayerImage& layer : building.backup->layers) {
    if (!building.layers.count(layer.index)) {
      // A layer without wavesamples: made with a wavesample number that is then free again.
      const int spare = static_cast<int>(building.waveSamples.size()) + 1;
      if (!CreateLayer(building, layer.index, spare)) return false;
    }
    if (!commands_.PutLayerRecord(building.to, layer.index, layer.record)) {
      return Fail(building, commands_.Failure());
    }
    Record read;
    if (!reader_.ReadLayerRecord(building.to, layer.index, read)) {
      return Fail(building, reader_.Failure("a restored layer record"));
    }
    CompareBack(FormatSlotPath({building.to, layer.index, 0}), layer.record, read, {});
  }
  return true;
}

bool RestoreJob::RestoreInstrumentRecord(Building& building) {
  Record record;
  if (!reader_.ReadInstrumentRecord(building.to, record)) {
    return Fail(building, reader_.Failure("the new instrument's record"));
  }
  for (const auto& [first, last] : kInstrumentWordsWritten) {
    for (int n = first; n <= last; ++n) record[n] = building.backup->record[n];
  }
  if (!commands_.PutInstrumentRecord(building.to, record)) {
    return Fail(building, commands_.Failure());
  }
  if (!reader_.ReadInstrumentRecord(building.to, record)) {
    return Fail(building, reader_.Failure("the restored instrument record"));
  }
  CompareBack(FormatSlotPath({building.to, -1, 0}), building.backup->record, record,
              InstrumentMemoryWords());
  return true;
}

void RestoreJob::CompareBack(const std::string& label, const Record& wanted, const Record& read,
                             const std::set<int>& ignored) {
  Record a = wanted;
  Record b = read;
  for (int n : ignored) {
    if (n < static_cast<int>(a.size()) && n < static_cast<int>(b.size())) a[n] = b[n] = 0;
  }
  if (a == b) return;
  result_.limits.push_back(label + ": the sampler did not take the backed-up values of words " +
                           DifferingWords(a, b) + ".");
}

bool RestoreJob::Fail(const Building& building, const std::string& reason) {
  if (result_.outcome == TransferOutcome::Done) {
    Stop(TransferOutcome::Failed, reason);
  }
  const std::string slot = std::to_string(building.to + 1);
  if (!result_.message.empty()) result_.message += ' ';
  result_.message +=
      "Instrument " + slot + " is only partly restored; delete it before restoring it again.";
  return false;
}

JobResult RestoreJob::Stop(TransferOutcome outcome, const std::string& message) {
  result_.outcome = outcome;
  result_.message = message;
  return result_;
}

}  // namespace kelvora::batch
