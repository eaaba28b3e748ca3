#include "cli/Command.h"

#include <CLI/CLI.hpp>

namespace kelvora::cli {

bool Command::Chosen() const { return command_ && command_->parsed(); }

}  // namespace kelvora::cli
