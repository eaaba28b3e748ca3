#include "cli/UploadCommand.h"

#include <CLI/CLI.hpp>
#include <QJsonArray>
#include <QJsonObject>
#include <cmath>

#include "batch/KeyNames.h"
#include "batch/MultiUpload.h"
#include "batch/SlotPath.h"
#include "batch/TransferWatch.h"
#include "cli/CommandContext.h"
#include "cli/ExitCode.h"
#include "cli/Interrupt.h"
#include "cli/SnapshotScope.h"
#include "cli/UploadPlanOutput.h"
#include "protocol/Occupancy.h"
#include "transfer/SamplerRates.h"
#include "transfer/TransferPaths.h"
#include "transfer/UploadEngine.h"
#include "transfer/UploadFigures.h"

namespace kelvora::cli {

namespace {

// The code of the rate asked for among those the file can go at, or -1.
int CodeForRate(int hz, int fileRate) {
  for (const int code : transfer::TargetCodes(fileRate)) {
    if (std::lround(transfer::PlayedRate(code)) == hz) return code;
  }
  return -1;
}

std::string RateChoices(int fileRate) {
  std::string text;
  int shown = 0;
  for (const int code : transfer::TargetCodes(fileRate)) {
    if (shown++ == 6) return text + ", ...";
    text += (text.empty() ? "" : ", ") + std::to_string(std::lround(transfer::PlayedRate(code)));
  }
  return text;
}

}  // namespace

void UploadCommand::Declare(CLI::App& program) {
  command_ = program.add_subcommand(
      "upload",
      "Upload audio files into the sampler; several files into one instrument are a "
      "multisample, each a wavesample of the layer with its own root key and key range");
  command_->add_option("files", files_, "Audio files, or folders of them")->required();
  command_->add_option("--to", to_, "The instrument, layer or first wavesample")
      ->required()
      ->type_name("I[/L[/W]]");
  command_
      ->add_option("--root", root_,
                   "The root key, or auto: from the file's metadata or its name "
                   "(Piano_C#3, Piano_061, A-1; middle C is C4 = 60)")
      ->type_name("KEY|auto");
  command_
      ->add_option("--range", range_,
                   "The key range: the whole keyboard, the root key, LO-HI, or auto: split "
                   "halfway between neighbouring roots (the default for several files)")
      ->type_name("full|root|LO-HI|auto");
  command_
      ->add_option("--channel", channel_,
                   "The channel of a file with several: left, right, mono (the mix) or its "
                   "number from 1 (the MIDI channel goes before the command)")
      ->type_name("left|right|mono|N");
  command_
      ->add_option("--rate", rate_,
                   "The rate the sampler plays it at: auto (the file's rate or the nearest "
                   "above it the sampler plays), a lower rate it plays in Hz, or unchanged "
                   "(samples sent as they are, off pitch unless the rate is exact)")
      ->type_name("auto|HZ|unchanged");
  command_->add_option("--name", name_, "The instrument's name");
  command_->add_flag("--dry-run", dryRun_, "Print the plan and send nothing");
}

int UploadCommand::Run(CommandContext& context) {
  std::string error;
  const std::optional<batch::SlotPath> target = batch::ParseSlotPath(to_, error);
  if (!target) return context.Fail(kExitBadUsage, "--to: " + error);
  UploadOptions options;
  if (!ParseUploadOptions(root_, range_, channel_, rate_, options, error)) {
    return context.Fail(kExitBadUsage, error);
  }
  std::vector<batch::PlanFile> files;
  if (const int exit = Prepare(context, options, files); exit != kExitDone) return exit;
  int exit = kExitDone;
  protocol::TEps* eps = context.Sampler(exit);
  if (!eps) return exit;
  batch::Snapshot snapshot;
  if (!ReadSnapshot(*eps, target, snapshot, error)) return context.Fail(kExitFailed, error);
  if (Interrupt::Requested()) return kExitInterrupted;
  batch::PlanRequest request{*target, options.range, options.low, options.high};
  if (!options.rangeGiven && files.size() > 1) request.range = batch::RangeRule::Auto;
  batch::UploadPlan plan = batch::PlanUpload(request, files, batch::SlotsOf(snapshot));
  batch::FigurePlan(plan, eps->BlockSize, eps->Delay, options.pick);
  const QJsonObject planJson = PlanJson(plan, snapshot.instruments.empty());
  if (!context.Out().Json()) {
    for (const std::string& line : PlanText(planJson)) context.Out().Line(line);
  }
  if (!plan.Fits() || dryRun_) {
    if (context.Out().Json())
      context.Out().Document(QJsonDocument(QJsonObject{{"plan", planJson}}));
    return plan.Fits() ? kExitDone : context.Fail(kExitRefused, plan.refusal);
  }
  batch::TellSession(*eps, snapshot);
  return Send(context, plan, planJson, options.pick);
}

// Every file is opened and read up to its samples before the sampler is asked anything, so an
// unreadable file is refused first; the files are closed again until their turn.
int UploadCommand::Prepare(CommandContext& context, const UploadOptions& options,
                           std::vector<batch::PlanFile>& files) {
  std::vector<std::string> paths;
  std::string error;
  if (!ExpandUploadFiles(files_, paths, error)) return context.Fail(kExitRefused, error);
  for (const std::string& path : paths) {
    batch::PlanFile file;
    if (const int exit = OpenOne(context, path, options, file); exit != kExitDone) return exit;
    if (!file.rootKey && !options.rootRequired && paths.size() == 1) {
      file.rootKey = 60;
      file.rootSource = "default, the file tells none";
    }
    files.push_back(file);
  }
  return kExitDone;
}

int UploadCommand::OpenOne(CommandContext& context, const std::string& path,
                           const UploadOptions& options, batch::PlanFile& file) {
  Opening opening{path, {options.pick, -1, options.unchanged, 16}};
  transfer::OpenedSource opened = transfer::OpenUploadSource(path, opening.options);
  if (opened.source && options.rate > 0) {
    opening.options.targetCode = CodeForRate(options.rate, opened.plan.fileRate);
    if (opening.options.targetCode < 0) {
      return context.Fail(kExitRefused, "'" + path + "' (" + std::to_string(opened.plan.fileRate) +
                                            " Hz) cannot go in at " + std::to_string(options.rate) +
                                            " Hz; the sampler plays it at " +
                                            RateChoices(opened.plan.fileRate) + " Hz.");
    }
    opened = transfer::OpenUploadSource(path, opening.options);
  }
  if (!opened.source) return context.Fail(kExitRefused, opened.refusal);
  file = batch::PlanFileOf(path, opened);
  if (options.rootKey) {
    file.rootKey = options.rootKey;
    file.rootSource = "given";
  }
  openings_.push_back(opening);
  return kExitDone;
}

const UploadCommand::Opening* UploadCommand::OpeningOf(const std::string& path) const {
  for (const Opening& opening : openings_) {
    if (opening.path == path) return &opening;
  }
  return nullptr;
}

// The files one after the other, each opened again with the options it was planned with. The
// first that does not go in ends the job; the wavesamples before it stay.
int UploadCommand::Send(CommandContext& context, const batch::UploadPlan& plan,
                        const QJsonObject& planJson, const transfer::ChannelPick& pick) {
  protocol::TEps& eps = context.Connection().Eps();
  batch::TransferWatch watch(context.Progress(), *eps.MidiIn, batch::kDefaultStallLimitMs);
  int64_t total = 0;
  for (const batch::PlannedFile& planned : plan.files) total += planned.file.frames;
  context.Progress().JobStarted(static_cast<int>(plan.files.size()), total);
  QJsonArray uploads;
  int exit = kExitDone;
  for (const batch::PlannedFile& planned : plan.files) {
    const std::string slot =
        batch::FormatWaveSample(plan.instrument, planned.layer, planned.waveSample);
    const transfer::TransferResult result = SendOne(
        context, watch, batch::ChoicesFor(plan.instrument, planned, pick), planned.file, slot);
    uploads.append(QJsonObject{{"file", QString::fromStdString(planned.file.path)},
                               {"slot", QString::fromStdString(slot)},
                               {"done", result.Succeeded()},
                               {"message", QString::fromStdString(result.message)}});
    if (!result.Succeeded()) {
      exit = watch.UserCancelled() ? kExitInterrupted : kExitFailed;
      break;
    }
    if (!context.Out().Json()) context.Out().Line(slot + " <- " + planned.file.path);
  }
  if (exit == kExitDone && !name_.empty() && !eps.RenameInstrument(plan.instrument, name_)) {
    exit = context.Fail(kExitFailed, "Instrument " + std::to_string(plan.instrument + 1) +
                                         " was not renamed: the sampler refused it.");
  }
  if (context.Out().Json()) {
    context.Out().Document(QJsonDocument(QJsonObject{{"plan", planJson}, {"uploads", uploads}}));
  }
  return exit;
}

// One file, opened again with the options it was planned with; what went wrong is told here.
transfer::TransferResult UploadCommand::SendOne(CommandContext& context,
                                                batch::TransferWatch& watch,
                                                const transfer::UploadChoices& choices,
                                                const batch::PlanFile& file,
                                                const std::string& slot) {
  ConsoleProgress& progress = context.Progress();
  transfer::OpenedSource opened =
      transfer::OpenUploadSource(file.path, OpeningOf(file.path)->options);
  transfer::TransferResult result{transfer::TransferOutcome::Refused, opened.refusal};
  progress.FileStarted(slot + " " + file.path, file.frames);
  if (opened.source) {
    watch.Start(file.frames);
    result =
        transfer::UploadEngine(context.Connection().Eps(), watch).Upload(choices, *opened.source);
  }
  progress.FileFinished(result.Succeeded());
  if (watch.Stalled()) result.message = batch::TransferWatch::StallMessage();
  if (result.Succeeded()) return result;
  if (watch.UserCancelled()) {
    progress.Note("Interrupted: " + slot + " holds " + std::to_string(result.samples) + " of the " +
                  std::to_string(file.frames) + " samples of '" + file.path +
                  "'; upload it again.");
  } else {
    context.Out().Error("'" + file.path + "' did not go into " + slot + ": " +
                        (result.message.empty() ? "the upload failed." : result.message));
  }
  return result;
}

}  // namespace kelvora::cli
