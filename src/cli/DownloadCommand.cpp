#include "cli/DownloadCommand.h"

#include <CLI/CLI.hpp>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <algorithm>
#include <cstdio>
#include <optional>

#include "batch/FileNames.h"
#include "batch/SlotPath.h"
#include "batch/TransferWatch.h"
#include "cli/CommandContext.h"
#include "cli/ExitCode.h"
#include "cli/Interrupt.h"
#include "cli/SnapshotScope.h"
#include "protocol/Records.h"
#include "transfer/DownloadEngine.h"

namespace kelvora::cli {

namespace {

constexpr int kWsCopyLayer = 13;
constexpr const char* kPart = ".part";

bool IsAll(const std::string& text) { return QString::fromStdString(text).toLower() == "all"; }

std::string Label(const batch::InstrumentImage& instrument, const batch::WaveSampleImage& ws) {
  const std::string slot = batch::FormatWaveSample(instrument.index, ws.layer, ws.number);
  return ws.Name().empty() ? slot : slot + " " + ws.Name();
}

int64_t SamplesOf(const batch::WaveSampleImage& ws) {
  const int start = protocol::GetPosition(ws.record.data(), protocol::kWsSampleStart);
  const int end = protocol::GetPosition(ws.record.data(), protocol::kWsSampleEnd);
  return end > start ? end - start : 0;
}

// The layer of the wavesample whose data a copy plays.
int HolderLayer(const batch::InstrumentImage& instrument, const batch::WaveSampleImage& ws) {
  if (const batch::WaveSampleImage* holder = instrument.Find(ws.CopyOf())) {
    if (holder->layer >= 0) return holder->layer;
  }
  return (ws.record[kWsCopyLayer] >> 8) & 0xFF;
}

// Points the session at the data the wavesample plays: its own, or for a copy its source's over
// the copy's own range.
void Aim(protocol::TEps& eps, const batch::InstrumentImage& instrument,
         const batch::WaveSampleImage& ws) {
  std::copy(ws.record.begin(), ws.record.end(), eps.WsParams);
  eps.Instrument = instrument.index;
  const bool copy = ws.CopyOf() != 0;
  eps.Layer = std::max(copy ? HolderLayer(instrument, ws) : ws.layer, 0);
  eps.WaveSample = copy ? ws.CopyOf() : ws.number;
}

QJsonObject FileJson(const std::string& label, const std::string& path, int64_t samples, bool done,
                     const std::string& message) {
  return {{"wavesample", QString::fromStdString(label)},
          {"path", QString::fromStdString(path)},
          {"samples", static_cast<double>(samples)},
          {"done", done},
          {"message", QString::fromStdString(message)}};
}

}  // namespace

void DownloadCommand::Declare(CLI::App& program) {
  command_ = program.add_subcommand(
      "download",
      "Download wavesamples into WAV files named after the sampler's names: one wavesample "
      "(I/L/W) into FILE, or every wavesample of an instrument, a layer or the sampler (I, "
      "I/L, all) into DIR");
  command_->add_option("what", what_, "I/L/W, I/L, I or all")->required();
  command_
      ->add_option("-o,--output", output_,
                   "The file (for one wavesample) or the folder (for several); by default "
                   "the current folder")
      ->type_name("FILE|DIR");
  command_->add_flag("--force", force_, "Replace files that exist");
}


int DownloadCommand::Run(CommandContext& context) {
  std::optional<batch::SlotPath> slot;
  if (!IsAll(what_)) {
    std::string error;
    slot = batch::ParseSlotPath(what_, error);
    if (!slot) return context.Fail(kExitBadUsage, error + " Give I/L/W, I/L, I or all.");
  }
  const bool single = slot && slot->HasWaveSample();
  const QFileInfo output(QString::fromStdString(output_.empty() ? "." : output_));
  if (!single && output.exists() && !output.isDir()) {
    return context.Fail(kExitBadUsage, "'" + output_ +
                                           "' is a file; several wavesamples go "
                                           "into a folder.");
  }
  int exit = kExitDone;
  protocol::TEps* eps = context.Sampler(exit);
  if (!eps) return exit;
  batch::Snapshot snapshot;
  std::string failure;
  if (!ReadSnapshot(*eps, slot, snapshot, failure)) return context.Fail(kExitFailed, failure);
  if (Interrupt::Requested()) return kExitInterrupted;
  if (slot) {
    Narrow(snapshot, *slot);
    if (const std::string missing = Missing(snapshot, *slot); !missing.empty()) {
      return context.Fail(kExitFailed, missing);
    }
  }
  std::vector<Item> items = Items(snapshot, single);
  for (const Item& item : items) {
    if (!force_ && QFileInfo::exists(QString::fromStdString(item.path))) {
      return context.Fail(kExitRefused, "'" + item.path + "' exists; --force replaces it.");
    }
  }
  if (!single && !QDir().mkpath(output.filePath())) {
    return context.Fail(kExitFailed, "The folder '" + output_ + "' cannot be created.");
  }
  return Fetch(context, items);
}

std::vector<DownloadCommand::Item> DownloadCommand::Items(const batch::Snapshot& snapshot,
                                                          bool single) const {
  std::vector<Item> items;
  const QFileInfo output(QString::fromStdString(output_.empty() ? "." : output_));
  for (const batch::InstrumentImage& instrument : snapshot.instruments) {
    for (const batch::WaveSampleImage& ws : instrument.waveSamples) {
      Item item{&instrument, &ws, {}, SamplesOf(ws)};
      std::string name = batch::SafeFileName(ws.Name(), "Wavesample") + ".wav";
      if (!single) {
        std::string prefix = batch::FormatWaveSample(instrument.index, ws.layer, ws.number);
        std::replace(prefix.begin(), prefix.end(), '/', '-');
        name = batch::SafeFileName(prefix, {}) + " " + name;
      }
      const bool intoFolder = !single || output_.empty() || output.isDir();
      item.path = intoFolder
                      ? QDir(output.filePath()).filePath(QString::fromStdString(name)).toStdString()
                      : output_;
      items.push_back(item);
    }
  }
  return items;
}

// One file after the other. A wavesample the sampler refuses is told and the others still come;
// Ctrl+C or a sampler that stops answering ends the job. Files that came stay.
int DownloadCommand::Fetch(CommandContext& context, std::vector<Item>& items) {
  protocol::TEps& eps = context.Connection().Eps();
  ConsoleProgress& progress = context.Progress();
  batch::TransferWatch watch(progress, *eps.MidiIn, batch::kDefaultStallLimitMs);
  int64_t total = 0;
  for (const Item& item : items) total += item.samples;
  progress.JobStarted(static_cast<int>(items.size()), total);
  QJsonArray files;
  int exit = kExitDone;
  for (const Item& item : items) {
    const std::string label = Label(*item.instrument, *item.waveSample);
    Aim(eps, *item.instrument, *item.waveSample);
    const std::string part = item.path + kPart;
    progress.FileStarted(label, item.samples);
    watch.Start(item.samples);
    const transfer::TransferResult result = transfer::DownloadEngine(eps, watch).Download(part);
    std::string message = result.message;
    bool done = result.Succeeded() && std::rename(part.c_str(), item.path.c_str()) == 0;
    if (result.Succeeded() && !done)
      message = "The file could not be renamed to '" + item.path + "'.";
    progress.FileFinished(done);
    if (!done) std::remove(part.c_str());
    if (watch.Stalled()) message = batch::TransferWatch::StallMessage();
    files.append(FileJson(label, item.path, done ? item.samples : 0, done, message));
    if (done) {
      if (!context.Out().Json()) context.Out().Line(label + " -> " + item.path);
      continue;
    }
    if (watch.UserCancelled()) {
      progress.Note("Interrupted: '" + item.path + "' was not written.");
      exit = kExitInterrupted;
      break;
    }
    context.Out().Error(label + " was not downloaded to '" + item.path +
                        "': " + (message.empty() ? "the transfer failed." : message));
    exit = kExitFailed;
    if (watch.Stalled()) break;
  }
  if (context.Out().Json()) context.Out().Document(QJsonDocument(QJsonObject{{"files", files}}));
  return exit;
}

}  // namespace kelvora::cli
