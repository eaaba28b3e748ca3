#pragma once

namespace CLI {
class App;
}

namespace kelvora::cli {

class CommandContext;

// One subcommand of kelvora-cli. Declare adds it to the program's command line with its own
// options and arguments, bound to members; Run carries it out after parsing and returns the
// exit code. Commands that need the sampler get it from the context, which probes it first.
class Command {
 public:
  virtual ~Command() = default;

  // Adds the subcommand to the program and keeps it in command_.
  virtual void Declare(CLI::App& program) = 0;
  virtual int Run(CommandContext& context) = 0;

  // Whether the command line chose this command.
  bool Chosen() const;

 protected:
  CLI::App* command_ = nullptr;
};

}  // namespace kelvora::cli
