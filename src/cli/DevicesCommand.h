#pragma once

#include "cli/Command.h"

namespace kelvora::cli {

// `devices`: every MIDI device with the number --device takes, whether it is an input, an
// output or both, and its full name.
class DevicesCommand : public Command {
 public:
  void Declare(CLI::App& program) override;
  int Run(CommandContext& context) override;
};

}  // namespace kelvora::cli
