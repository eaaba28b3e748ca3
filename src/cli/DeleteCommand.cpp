#include "cli/DeleteCommand.h"

#include <CLI/CLI.hpp>
#include <QJsonObject>
#include <optional>

#include "batch/SlotPath.h"
#include "cli/CommandContext.h"
#include "cli/ExitCode.h"
#include "cli/WaveSampleTarget.h"
#include "protocol/EpsPortSink.h"

namespace kelvora::cli {

namespace {

using namespace protocol;

std::string Refusal(int result, const std::string& what) {
  switch (result) {
    case prNoInstrument:
      return "the sampler holds no such instrument";
    case prNoLayer:
      return "the instrument has no such layer";
    case prNothing:
    case prNothingAfterWait:
      return "the sampler did not answer";
    default:
      return "the sampler refused to delete " + what + " (result " + std::to_string(result) + ")";
  }
}

}  // namespace

void DeleteCommand::Declare(CLI::App& program) {
  command_ = program.add_subcommand(
      "delete", "Delete an instrument, a layer (with its wavesamples) or a wavesample, at once");
  command_->add_option("slot", slot_, "What to delete")->required()->type_name("I[/L[/W]]");
}


int DeleteCommand::Run(CommandContext& context) {
  std::string error;
  const std::optional<batch::SlotPath> slot = batch::ParseSlotPath(slot_, error);
  if (!slot) return context.Fail(kExitBadUsage, error);
  int result = prAck;
  std::string what = "instrument " + batch::FormatSlotPath(*slot);
  if (slot->HasWaveSample()) {
    WaveSampleTarget target;
    if (const int exit = target.Find(context, slot_); exit != kExitDone) return exit;
    TEps& eps = context.Connection().Eps();
    target.Aim(eps);
    what = "wavesample " + target.Label();
    EpsPortSink sink(eps.MidiOut);
    SendDeleteWaveSample(sink, eps.Channel(), eps.CurrentTarget());
    result = eps.ProcessInput();
  } else {
    int exit = kExitDone;
    TEps* eps = context.Sampler(exit);
    if (!eps) return exit;
    if (slot->HasLayer()) {
      what = "layer " + batch::FormatSlotPath(*slot);
      result = eps->DeleteLayer(slot->instrument, slot->layer);
    } else {
      result = eps->DeleteInstrument(slot->instrument);
    }
  }
  const bool done = result == prAck;
  if (context.Out().Json()) {
    context.Out().Document(
        QJsonDocument(QJsonObject{{"slot", QString::fromStdString(slot_)}, {"deleted", done}}));
  }
  if (!done) {
    return context.Fail(kExitFailed,
                        "The " + what + " was not deleted: " + Refusal(result, what) + ".");
  }
  if (!context.Out().Json()) context.Out().Line("Deleted " + what + ".");
  return kExitDone;
}

}  // namespace kelvora::cli
