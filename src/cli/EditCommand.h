#pragma once

#include <string>

#include "cli/Command.h"

namespace kelvora::protocol {
class TEps;
}

namespace kelvora::cli {

// The remote edits, carried out by the sampler on its own memory: `normalize I/L/W`, and
// `reverse`, `clear`, `fade-in`, `fade-out` of I/L/W over a range of samples (by default from
// the sample start to the sample end), the fades with a depth. Nothing is selected on the
// sampler and no other data changes.
class EditCommand : public Command {
 public:
  enum class Kind { Normalize, Reverse, Clear, FadeIn, FadeOut };

  explicit EditCommand(Kind kind) : kind_(kind) {}

  void Declare(CLI::App& program) override;
  int Run(CommandContext& context) override;

 private:
  const char* Name() const;
  // The command for [start, end) of the session's current wavesample.
  void Send(protocol::TEps& eps, int start, int end) const;
  // Tells the sampler's answer and returns the exit code.
  int Report(CommandContext& context, const std::string& label, int start, int end,
             int result) const;
  bool HasRange() const { return kind_ != Kind::Normalize; }
  bool HasDepth() const { return kind_ == Kind::FadeIn || kind_ == Kind::FadeOut; }

  Kind kind_;
  std::string slot_;
  std::string range_;
  int depth_ = 0;
};

}  // namespace kelvora::cli
