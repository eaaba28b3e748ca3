#include "cli/RenameCommand.h"

#include <CLI/CLI.hpp>
#include <QJsonObject>
#include <optional>

#include "batch/SlotPath.h"
#include "batch/SnapshotReader.h"
#include "cli/CommandContext.h"
#include "cli/ExitCode.h"
#include "cli/WaveSampleTarget.h"
#include "protocol/EpsPortSink.h"
#include "protocol/NameCodec.h"

namespace kelvora::cli {

namespace {

using namespace protocol;

// The layer record goes back as the sampler sends it: header 0D with the target, the ACK, the
// 107 words, the ACK.
bool PutLayerRecord(TEps& eps, int instrument, int layer, const batch::Record& record) {
  EpsPortSink sink(eps.MidiOut);
  eps.Instrument = instrument;
  SendLayerParamsHeader(sink, eps.Channel(), Target{instrument, layer, 1});
  if (eps.ProcessInput() != prAck) return false;
  SendDataMessage(sink, eps.Channel(), record.data(), record.size());
  return eps.ProcessInput() == prAck;
}

// The name as the sampler keeps it: encoded into its 12 characters, read back.
std::string Kept(const std::string& name) {
  int words[kNameLength] = {};
  EncodeName(words, name);
  return DecodeName(words);
}

}  // namespace

void RenameCommand::Declare(CLI::App& program) {
  command_ = program.add_subcommand("rename", "Rename an instrument, a layer or a wavesample");
  command_->add_option("slot", slot_, "What to rename")->required()->type_name("I[/L[/W]]");
  command_
      ->add_option("name", name_,
                   "The new name: 12 characters of A-Z, 0-9, blank, * - + (others become "
                   "blanks)")
      ->required();
}


int RenameCommand::Run(CommandContext& context) {
  std::string error;
  const std::optional<batch::SlotPath> slot = batch::ParseSlotPath(slot_, error);
  if (!slot) return context.Fail(kExitBadUsage, error);
  std::string what = "Instrument " + batch::FormatSlotPath(*slot);
  bool done = false;
  if (slot->HasWaveSample()) {
    WaveSampleTarget target;
    if (const int exit = target.Find(context, slot_); exit != kExitDone) return exit;
    TEps& eps = context.Connection().Eps();
    target.Aim(eps);
    EncodeName(eps.WsParams, name_);
    what = "Wavesample " + batch::FormatSlotPath(*slot);
    done = eps.WriteWsParams() == 1;
  } else {
    int exit = kExitDone;
    TEps* eps = context.Sampler(exit);
    if (!eps) return exit;
    batch::SnapshotReader reader(*eps);
    batch::Record record;
    if (!reader.ReadInstrumentRecord(slot->instrument, record)) {
      return context.Fail(kExitFailed, "The sampler holds no instrument " +
                                           std::to_string(slot->instrument + 1) + ".");
    }
    if (slot->HasLayer()) {
      what = "Layer " + batch::FormatSlotPath(*slot);
      if (!reader.ReadLayerRecord(slot->instrument, slot->layer, record)) {
        return context.Fail(kExitFailed,
                            "The sampler's instrument " + std::to_string(slot->instrument + 1) +
                                " has no layer " + std::to_string(slot->layer + 1) + ".");
      }
      EncodeName(record.data(), name_);
      done = PutLayerRecord(*eps, slot->instrument, slot->layer, record);
    } else {
      done = eps->RenameInstrument(slot->instrument, name_);
    }
  }
  const std::string kept = Kept(name_);
  if (context.Out().Json()) {
    context.Out().Document(QJsonDocument(QJsonObject{{"slot", QString::fromStdString(slot_)},
                                                     {"name", QString::fromStdString(kept)},
                                                     {"done", done}}));
  }
  if (!done) return context.Fail(kExitFailed, what + " was not renamed: the sampler refused it.");
  if (!context.Out().Json()) context.Out().Line(what + " is now named '" + kept + "'.");
  return kExitDone;
}

}  // namespace kelvora::cli
