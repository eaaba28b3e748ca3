#include "cli/LsCommand.h"

#include <CLI/CLI.hpp>
#include <QJsonArray>
#include <optional>

#include "batch/SlotPath.h"
#include "cli/CommandContext.h"
#include "cli/ExitCode.h"
#include "cli/Interrupt.h"
#include "cli/Listing.h"
#include "cli/SnapshotScope.h"

namespace kelvora::cli {

void LsCommand::Declare(CLI::App& program) {
  command_ = program.add_subcommand(
      "ls",
      "List the instruments, layers and wavesamples: names, copy links, length, rate, "
      "root key, key range, playback mode and loop");
  command_->add_option("slot", slot_, "Only this instrument, layer or wavesample")
      ->type_name("I[/L[/W]]");
}


int LsCommand::Run(CommandContext& context) {
  std::optional<batch::SlotPath> slot;
  if (!slot_.empty()) {
    std::string error;
    slot = batch::ParseSlotPath(slot_, error);
    if (!slot) return context.Fail(kExitBadUsage, error);
  }
  int exit = kExitDone;
  protocol::TEps* eps = context.Sampler(exit);
  if (!eps) return exit;
  batch::Snapshot snapshot;
  std::string failure;
  if (!ReadSnapshot(*eps, slot, snapshot, failure)) {
    return context.Fail(kExitFailed, failure);
  }
  if (Interrupt::Requested()) return kExitInterrupted;
  if (slot) {
    Narrow(snapshot, *slot);
    if (const std::string missing = Missing(snapshot, *slot); !missing.empty()) {
      return context.Fail(kExitFailed, missing);
    }
  }
  const QJsonObject listing = ListingJson(snapshot);
  if (context.Out().Json()) {
    context.Out().Document(QJsonDocument(listing));
  } else {
    for (const std::string& line : ListingText(listing)) context.Out().Line(line);
  }
  return kExitDone;
}

}  // namespace kelvora::cli
