#pragma once

#include <memory>
#include <vector>

#include "cli/Command.h"

namespace kelvora::cli {

// Every subcommand of kelvora-cli, in the order --help lists them.
std::vector<std::unique_ptr<Command>> MakeCommands();

}  // namespace kelvora::cli
