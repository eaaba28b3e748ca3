#include "cli/CommandContext.h"

#include "cli/ExitCode.h"

namespace kelvora::cli {

CommandContext::CommandContext(Console& console, ConsoleProgress& progress,
                               SamplerConnection& connection, ConsoleSessionUi& ui)
    : console_(console), progress_(progress), connection_(connection), ui_(ui) {}

protocol::TEps* CommandContext::Sampler(int& exit) {
  if (!opened_) {
    opened_ = true;
    std::string message;
    openExit_ = connection_.Open(message);
    if (openExit_ != kExitDone) console_.Error(message);
  }
  exit = openExit_;
  return openExit_ == kExitDone ? &connection_.Eps() : nullptr;
}

int CommandContext::Fail(int exit, const std::string& sentence) {
  console_.Error(sentence);
  return exit;
}

}  // namespace kelvora::cli
