#pragma once

#include <string>

#include "cli/Command.h"

namespace kelvora::cli {

// `backup DIR`: every instrument, layer and wavesample into a folder (records as read, data as
// WAV files, manifest.json with SHA-256 sums); run again after an interruption it transfers only
// what is missing or does not match. `backup --verify DIR` reads everything from the sampler
// again and compares it with the folder, changing nothing.
class BackupCommand : public Command {
 public:
  void Declare(CLI::App& program) override;
  int Run(CommandContext& context) override;

 private:
  std::string folder_;
  bool verify_ = false;
  bool force_ = false;
};

}  // namespace kelvora::cli
