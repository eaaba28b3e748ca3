#include "cli/RestoreCommand.h"

#include <CLI/CLI.hpp>
#include <QJsonObject>

#include "batch/RestoreJob.h"
#include "cli/CommandContext.h"
#include "cli/JobReport.h"

namespace kelvora::cli {

void RestoreCommand::Declare(CLI::App& program) {
  command_ = program.add_subcommand(
      "restore",
      "Rebuild the instruments of a backup in the sampler, in free slots or the slot named: "
      "layers, wavesamples with their data, wavesample records (positions, loop, playback mode, "
      "rate, root key, key range) and names. What the protocol cannot bring back is printed");
  command_->add_option("folder", folder_, "The backup folder")->required()->type_name("DIR");
  command_->add_option("--instrument", instrument_, "Only this instrument of the backup, 1-8")
      ->check(CLI::Range(1, 8))
      ->type_name("I");
  command_
      ->add_option("--to", to_,
                   "The sampler's instrument slot it goes to, 1-8 (it must be free); by default "
                   "its own slot when free, else the first free one")
      ->check(CLI::Range(1, 8))
      ->type_name("J");
}


int RestoreCommand::Run(CommandContext& context) {
  int exit = 0;
  protocol::TEps* eps = context.Sampler(exit);
  if (!eps) return exit;
  batch::RestoreOptions options;
  options.instrument = instrument_ - 1;
  options.to = to_ - 1;
  const batch::JobResult result = batch::RestoreJob(*eps, context.Progress(), options).Run(folder_);
  if (context.Out().Json()) {
    QJsonObject json = JobJson(result);
    json["folder"] = QString::fromStdString(folder_);
    context.Out().Document(QJsonDocument(json));
  } else if (result.outcome != transfer::TransferOutcome::Refused) {
    context.Out().Line("Restored from '" + folder_ +
                       "': " + std::to_string(result.filesTransferred) + " wavesamples (" +
                       std::to_string(result.samplesTransferred) + " samples) sent.");
    for (const std::string& limit : result.limits) context.Out().Line("Not brought back: " + limit);
  }
  TellProblems(context.Out(), result);
  return JobExit(result);
}

}  // namespace kelvora::cli
