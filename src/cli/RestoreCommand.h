#pragma once

#include <string>

#include "cli/Command.h"

namespace kelvora::cli {

// `restore DIR [--instrument I --to J]`: instruments of a backup rebuilt in the sampler, in free
// slots or the slot named, with their layers, wavesamples, data, records and names; what the
// protocol cannot bring back is printed, not passed over.
class RestoreCommand : public Command {
 public:
  void Declare(CLI::App& program) override;
  int Run(CommandContext& context) override;

 private:
  std::string folder_;
  int instrument_ = 0;  // 1..8; 0: every instrument of the backup
  int to_ = 0;          // 1..8; 0: its own slot when free, else the first free one
};

}  // namespace kelvora::cli
