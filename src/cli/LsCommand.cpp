#include "cli/LsCommand.h"

#include <CLI/CLI.hpp>
#include <QJsonArray>

#include "batch/Inventory.h"
#include "batch/SlotPath.h"
#include "cli/CommandContext.h"
#include "cli/ExitCode.h"
#include "cli/Interrupt.h"
#include "cli/Listing.h"

namespace kelvora::cli {

namespace {

// Only the wavesample asked for stays in the listing.
void KeepWaveSample(batch::Inventory& inventory, int number) {
  for (batch::InstrumentEntry& instrument : inventory.instruments) {
    std::erase_if(instrument.waveSamples,
                  [&](const batch::WaveSampleEntry& ws) { return ws.number != number; });
  }
}

// Why what was asked for is not in the listing; empty when it is.
std::string Missing(const batch::Inventory& inventory, const batch::SlotPath& slot) {
  const std::string instrument = "instrument " + std::to_string(slot.instrument + 1);
  if (inventory.instruments.empty()) return "The sampler holds no " + instrument + ".";
  const batch::InstrumentEntry& entry = inventory.instruments.front();
  if (slot.HasLayer() && entry.layers.empty()) {
    return "The sampler's " + instrument + " has no layer " + std::to_string(slot.layer + 1) + ".";
  }
  if (slot.HasWaveSample() && entry.waveSamples.empty()) {
    return "The sampler holds no wavesample " + batch::FormatSlotPath(slot) + ".";
  }
  return {};
}

}  // namespace

void LsCommand::Declare(CLI::App& program) {
  command_ = program.add_subcommand(
      "ls",
      "List the instruments, layers and wavesamples: names, copy links, length, rate, "
      "root key, key range, playback mode and loop");
  command_->add_option("slot", slot_, "Only this instrument, layer or wavesample")
      ->type_name("I[/L[/W]]");
}

bool LsCommand::Chosen() const { return command_ && command_->parsed(); }

int LsCommand::Run(CommandContext& context) {
  batch::SlotPath slot;
  batch::InventoryScope scope;
  if (!slot_.empty()) {
    std::string error;
    const auto parsed = batch::ParseSlotPath(slot_, error);
    if (!parsed) return context.Fail(kExitBadUsage, error);
    slot = *parsed;
    scope = {slot.instrument, slot.layer};
  }
  int exit = kExitDone;
  protocol::TEps* eps = context.Sampler(exit);
  if (!eps) return exit;
  batch::Inventory inventory;
  std::string failure;
  if (!batch::ReadInventory(*eps, scope, true, &Interrupt::Requested, inventory, failure)) {
    return context.Fail(kExitFailed, failure);
  }
  if (Interrupt::Requested()) return kExitInterrupted;
  if (slot.HasWaveSample()) KeepWaveSample(inventory, slot.waveSample);
  if (!slot_.empty()) {
    if (const std::string missing = Missing(inventory, slot); !missing.empty()) {
      return context.Fail(kExitFailed, missing);
    }
  }
  const QJsonObject listing = ListingJson(inventory);
  if (context.Out().Json()) {
    context.Out().Document(QJsonDocument(listing));
  } else {
    for (const std::string& line : ListingText(listing)) context.Out().Line(line);
  }
  return kExitDone;
}

}  // namespace kelvora::cli
