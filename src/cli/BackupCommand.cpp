#include "cli/BackupCommand.h"

#include <CLI/CLI.hpp>
#include <QJsonObject>

#include "batch/BackupJob.h"
#include "batch/VerifyJob.h"
#include "cli/CommandContext.h"
#include "cli/JobReport.h"

namespace kelvora::cli {

namespace {

std::string Summary(const batch::JobResult& result, bool verify, const std::string& folder) {
  const std::string transferred = Count(result.filesTransferred, "wavesample") + " (" +
                                  Count(result.samplesTransferred, "sample") + ")";
  if (!verify) {
    return "Backed up the sampler into '" + folder + "': " + transferred + " transferred, " +
           std::to_string(result.filesKept) + " already whole from an earlier run.";
  }
  const std::string read = "every record and " + transferred + " read again";
  if (result.problems.empty()) return "'" + folder + "' matches the sampler: " + read + ".";
  return "'" + folder + "' differs from the sampler in " +
         Count(static_cast<int64_t>(result.problems.size()), "place") + "; " + read + ".";
}

}  // namespace

void BackupCommand::Declare(CLI::App& program) {
  command_ = program.add_subcommand(
      "backup",
      "Back up every instrument, layer and wavesample into DIR: the parameter records as read, "
      "the data as WAV files with loop and root key, and manifest.json with a SHA-256 of every "
      "file. Run it again after an interruption and it transfers only what is missing or does "
      "not match");
  command_->add_option("folder", folder_, "The backup folder (new, empty or an earlier backup)")
      ->required()
      ->type_name("DIR");
  command_->add_flag("--verify", verify_,
                     "Read every record and every sample from the sampler again and compare them "
                     "with DIR (as much wire time as the backup; DIR is not changed)");
  command_->add_flag("--force", force_,
                     "Replace a backup in DIR of instruments or wavesamples the sampler no longer "
                     "holds, or whose manifest cannot be read");
}


int BackupCommand::Run(CommandContext& context) {
  int exit = 0;
  protocol::TEps* eps = context.Sampler(exit);
  if (!eps) return exit;
  batch::JobResult result;
  if (verify_) {
    result = batch::VerifyJob(*eps, context.Progress()).Run(folder_);
  } else {
    batch::BackupOptions options;
    options.replace = force_;
    result = batch::BackupJob(*eps, context.Progress(), options).Run(folder_);
  }
  if (context.Out().Json()) {
    QJsonObject json = JobJson(result);
    json["folder"] = QString::fromStdString(folder_);
    json["verify"] = verify_;
    context.Out().Document(QJsonDocument(json));
  } else if (result.outcome == transfer::TransferOutcome::Done ||
             result.outcome == transfer::TransferOutcome::Cancelled) {
    context.Out().Line(Summary(result, verify_, folder_));
  }
  TellProblems(context.Out(), result);
  return JobExit(result);
}

}  // namespace kelvora::cli
