#include "cli/Commands.h"

#include "cli/BackupCommand.h"
#include "cli/DeleteCommand.h"
#include "cli/DevicesCommand.h"
#include "cli/DownloadCommand.h"
#include "cli/EditCommand.h"
#include "cli/LsCommand.h"
#include "cli/ProbeCommand.h"
#include "cli/RenameCommand.h"
#include "cli/RestoreCommand.h"
#include "cli/UploadCommand.h"

namespace kelvora::cli {

std::vector<std::unique_ptr<Command>> MakeCommands() {
  std::vector<std::unique_ptr<Command>> commands;
  commands.push_back(std::make_unique<DevicesCommand>());
  commands.push_back(std::make_unique<ProbeCommand>());
  commands.push_back(std::make_unique<LsCommand>());
  commands.push_back(std::make_unique<DownloadCommand>());
  commands.push_back(std::make_unique<UploadCommand>());
  commands.push_back(std::make_unique<RenameCommand>());
  commands.push_back(std::make_unique<DeleteCommand>());
  using Kind = EditCommand::Kind;
  for (const Kind kind :
       {Kind::Normalize, Kind::Reverse, Kind::Clear, Kind::FadeIn, Kind::FadeOut}) {
    commands.push_back(std::make_unique<EditCommand>(kind));
  }
  commands.push_back(std::make_unique<BackupCommand>());
  commands.push_back(std::make_unique<RestoreCommand>());
  return commands;
}

}  // namespace kelvora::cli
