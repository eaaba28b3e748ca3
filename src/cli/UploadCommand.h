#pragma once

#include <QJsonObject>
#include <string>
#include <vector>

#include "batch/TransferWatch.h"
#include "batch/UploadPlan.h"
#include "cli/Command.h"
#include "cli/UploadOptions.h"
#include "transfer/TransferResult.h"
#include "transfer/UploadChoices.h"
#include "transfer/UploadSources.h"

namespace kelvora::cli {

// `upload FILE... --to I[/L[/W]]`: audio files (or the audio files of folders) into the sampler,
// several into one instrument as a multisample. Every file is opened and planned first (slot,
// root key, key range, rate, memory, wire time); the plan is printed, and one that does not fit
// is refused before anything is sent. Each wavesample is named after its file.
class UploadCommand : public Command {
 public:
  void Declare(CLI::App& program) override;
  int Run(CommandContext& context) override;

 private:
  // How each file is opened; the same options open it again for its upload.
  struct Opening {
    std::string path;
    transfer::SourceOptions options;
  };

  int Prepare(CommandContext& context, const UploadOptions& options,
              std::vector<batch::PlanFile>& files);
  int OpenOne(CommandContext& context, const std::string& path, const UploadOptions& options,
              batch::PlanFile& file);
  int Send(CommandContext& context, const batch::UploadPlan& plan, const QJsonObject& planJson,
           const transfer::ChannelPick& pick);
  transfer::TransferResult SendOne(CommandContext& context, batch::TransferWatch& watch,
                                   const transfer::UploadChoices& choices,
                                   const batch::PlanFile& file, const std::string& slot);
  const Opening* OpeningOf(const std::string& path) const;

  std::vector<std::string> files_;
  std::string to_;
  std::string root_;
  std::string range_;
  std::string channel_;
  std::string rate_;
  std::string name_;
  bool dryRun_ = false;
  std::vector<Opening> openings_;
};

}  // namespace kelvora::cli
