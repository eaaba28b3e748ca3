#pragma once

#include "cli/Command.h"

namespace CLI {
class App;
}

namespace kelvora::cli {

// `devices`: every MIDI device with the number --device takes, whether it is an input, an
// output or both, and its full name.
class DevicesCommand : public Command {
 public:
  void Declare(CLI::App& program) override;
  bool Chosen() const override;
  int Run(CommandContext& context) override;

 private:
  CLI::App* command_ = nullptr;
};

}  // namespace kelvora::cli
