#pragma once

#include <string>

#include "cli/Command.h"

namespace kelvora::cli {

// `ls [I[/L[/W]]]`: the instruments, their layers and wavesamples with names, copy links,
// length, rate, root key, key range, playback mode and loop, read fresh from the sampler.
class LsCommand : public Command {
 public:
  void Declare(CLI::App& program) override;
  int Run(CommandContext& context) override;

 private:
  std::string slot_;
};

}  // namespace kelvora::cli
