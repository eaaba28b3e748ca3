#include "batch/MultiUpload.h"

#include <cmath>

#include "batch/KeyNames.h"
#include "batch/SlotPath.h"
#include "batch/TransferWatch.h"
#include "protocol/Occupancy.h"
#include "transfer/SamplerRates.h"
#include "transfer/TransferPaths.h"
#include "transfer/UploadEngine.h"
#include "transfer/UploadFigures.h"

namespace kelvora::batch {

using transfer::KeyRangeMode;

transfer::UploadChoices ChoicesFor(int instrument, const PlannedFile& planned,
                                   const transfer::ChannelPick& pick) {
  transfer::UploadChoices choices;
  choices.instrument = instrument;
  choices.layer = planned.layer;
  choices.waveSample = planned.waveSample;
  choices.rootKey = planned.rootKey;
  choices.loKey = planned.low;
  choices.hiKey = planned.high;
  choices.range = planned.range == RangeRule::Root   ? KeyRangeMode::Root
                  : planned.range == RangeRule::Full ? KeyRangeMode::Full
                                                     : KeyRangeMode::Custom;
  choices.channelMode = pick.mode;
  choices.channel = pick.channel;
  choices.waveSampleName = transfer::NameBeforeFirstDot(planned.file.path);
  return choices;
}

InstrumentSlots SlotsOf(const Snapshot& snapshot) {
  InstrumentSlots slots;
  if (snapshot.instruments.empty()) return slots;
  const InstrumentImage& image = snapshot.instruments.front();
  slots.exists = true;
  for (const LayerImage& layer : image.layers) slots.layerInUse[layer.index] = true;
  for (const WaveSampleImage& ws : image.waveSamples) slots.waveSampleInUse[ws.number - 1] = true;
  return slots;
}

void TellSession(protocol::TEps& eps, const Snapshot& snapshot) {
  if (snapshot.instruments.empty()) return;
  const InstrumentImage& image = snapshot.instruments.front();
  std::vector<int> layers;
  protocol::DeriveInstrument(eps, image.index, image.record.data(), &layers);
  if (layers.size() <= 1) {
    protocol::ApplySingleLayer(eps, image.index, layers.empty() ? -1 : layers.front());
    return;
  }
  for (const LayerImage& layer : image.layers) {
    protocol::ApplyLayerRecord(eps, image.index, layer.index, layer.record.data());
  }
}

void FigurePlan(UploadPlan& plan, int blockSize, int delay, const transfer::ChannelPick& pick) {
  plan.memoryBlocks = 0;
  plan.wireSeconds = 0;
  for (PlannedFile& planned : plan.files) {
    const transfer::UploadFigures figures = transfer::FiguresFor(
        planned.file.frames, blockSize, ChoicesFor(plan.instrument, planned, pick), delay);
    planned.file.memoryBlocks = figures.memoryBlocks;
    planned.file.wireSeconds = figures.wireSeconds;
    plan.memoryBlocks += figures.memoryBlocks;
    plan.wireSeconds += figures.wireSeconds;
  }
}

bool ReadPlanFile(const std::string& path, const transfer::SourceOptions& options, PlanFile& file,
                  std::string& refusal) {
  transfer::OpenedSource opened = transfer::OpenUploadSource(path, options);
  if (!opened.source) {
    refusal = opened.refusal;
    return false;
  }
  file = PlanFileOf(path, opened);
  return true;
}

PlanFile PlanFileOf(const std::string& path, transfer::OpenedSource& opened) {
  PlanFile file;
  file.path = path;
  file.frames = opened.source->FrameCount();
  file.rate = static_cast<int>(std::lround(transfer::PlayedRate(opened.plan.rateCode)));
  file.format = opened.plan.format;
  file.pitch = transfer::PitchText(opened.plan);
  const std::optional<int> metadata = opened.source->RootKey();
  const std::optional<int> named = KeyFromFileName(path);
  file.rootKey = metadata ? metadata : named;
  file.rootSource = metadata ? "metadata" : named ? "name" : "";
  opened.source->Close();
  return file;
}

JobResult SendPlan(protocol::TEps& eps, JobProgress& progress, const UploadPlan& plan,
                   const transfer::SourceOptions& options) {
  JobResult result;
  TransferWatch watch(progress, *eps.MidiIn, kDefaultStallLimitMs);
  int64_t total = 0;
  for (const PlannedFile& planned : plan.files) total += planned.file.frames;
  progress.JobStarted(static_cast<int>(plan.files.size()), total);
  for (const PlannedFile& planned : plan.files) {
    const std::string slot = FormatWaveSample(plan.instrument, planned.layer, planned.waveSample);
    transfer::OpenedSource opened = transfer::OpenUploadSource(planned.file.path, options);
    transfer::TransferResult sent{transfer::TransferOutcome::Refused, opened.refusal};
    progress.FileStarted(slot + " " + planned.file.path, planned.file.frames);
    if (opened.source) {
      watch.Start(planned.file.frames);
      sent = transfer::UploadEngine(eps, watch)
                 .Upload(ChoicesFor(plan.instrument, planned, options.pick), *opened.source);
    }
    progress.FileFinished(sent.Succeeded());
    if (sent.Succeeded()) {
      ++result.filesTransferred;
      result.samplesTransferred += planned.file.frames;
      continue;
    }
    result.outcome = watch.UserCancelled() ? transfer::TransferOutcome::Cancelled
                     : sent.outcome == transfer::TransferOutcome::Refused
                         ? transfer::TransferOutcome::Refused
                         : transfer::TransferOutcome::Failed;
    result.message =
        "'" + planned.file.path + "' did not go into " + slot + ": " +
        (watch.Stalled() ? TransferWatch::StallMessage()
         : watch.UserCancelled()
             ? "stopped with " + std::to_string(sent.samples) + " of its " +
                   std::to_string(planned.file.frames) + " samples sent; upload it again."
         : sent.message.empty() ? std::string("the upload failed.")
                                : sent.message);
    break;
  }
  return result;
}

}  // namespace kelvora::batch
