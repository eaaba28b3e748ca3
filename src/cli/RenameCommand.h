#pragma once

#include <string>

#include "cli/Command.h"

namespace kelvora::cli {

// `rename I|I/L|I/L/W NAME`: the record of the instrument, layer or wavesample is read, renamed
// and sent back whole. Names keep the sampler's 12 characters of A-Z, 0-9, blank and * - +;
// what the name became is told.
class RenameCommand : public Command {
 public:
  void Declare(CLI::App& program) override;
  int Run(CommandContext& context) override;

 private:
  std::string slot_;
  std::string name_;
};

}  // namespace kelvora::cli
