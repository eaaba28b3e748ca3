#pragma once

#include "cli/Command.h"

namespace kelvora::cli {

// `probe`: whether a sampler answers on the device and channel (exit 0), or not (exit 3). The
// probe is the sampler's Cancel/No button, which changes nothing.
class ProbeCommand : public Command {
 public:
  void Declare(CLI::App& program) override;
  int Run(CommandContext& context) override;
};

}  // namespace kelvora::cli
