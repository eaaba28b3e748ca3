#pragma once

#include <string>
#include <vector>

#include "batch/Snapshot.h"
#include "cli/Command.h"

namespace kelvora::cli {

class CommandContext;

// `download I/L/W [-o FILE]` and `download I|I/L|all [-o DIR]`: wavesamples into WAV files
// named after the sampler's names. A parameters-only copy gives the part of its source's data
// it plays. Existing files stay unless --force; each file is written under a temporary name and
// renamed once whole, so an interrupted download leaves no file that looks whole.
class DownloadCommand : public Command {
 public:
  void Declare(CLI::App& program) override;
  int Run(CommandContext& context) override;

 private:
  // One wavesample to fetch and where it goes.
  struct Item {
    const batch::InstrumentImage* instrument = nullptr;
    const batch::WaveSampleImage* waveSample = nullptr;
    std::string path;
    int64_t samples = 0;
  };

  std::vector<Item> Items(const batch::Snapshot& snapshot, bool single) const;
  int Fetch(CommandContext& context, std::vector<Item>& items);

  std::string what_;
  std::string output_;
  bool force_ = false;
};

}  // namespace kelvora::cli
