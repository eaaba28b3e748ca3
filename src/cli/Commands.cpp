#include "cli/Commands.h"

#include "cli/DevicesCommand.h"
#include "cli/LsCommand.h"
#include "cli/ProbeCommand.h"

namespace kelvora::cli {

std::vector<std::unique_ptr<Command>> MakeCommands() {
  std::vector<std::unique_ptr<Command>> commands;
  commands.push_back(std::make_unique<DevicesCommand>());
  commands.push_back(std::make_unique<ProbeCommand>());
  commands.push_back(std::make_unique<LsCommand>());
  return commands;
}

}  // namespace kelvora::cli
