#pragma once

#include <string>

#include "cli/Command.h"

namespace kelvora::cli {

// `delete I|I/L|I/L/W`: removes the instrument (and all it holds), the layer (and its
// wavesamples) or the wavesample, at once and without a question, as the windows do.
class DeleteCommand : public Command {
 public:
  void Declare(CLI::App& program) override;
  int Run(CommandContext& context) override;

 private:
  std::string slot_;
};

}  // namespace kelvora::cli
