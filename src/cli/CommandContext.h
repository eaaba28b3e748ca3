#pragma once

#include <string>

#include "cli/Console.h"
#include "cli/ConsoleProgress.h"
#include "cli/ConsoleSessionUi.h"
#include "cli/SamplerConnection.h"
#include "protocol/Eps.h"

namespace kelvora::cli {

// What a running subcommand works with: the console, the progress display, and the sampler,
// which is reached (ports opened and probed) on first use.
class CommandContext {
 public:
  CommandContext(Console& console, ConsoleProgress& progress, SamplerConnection& connection,
                 ConsoleSessionUi& ui);

  Console& Out() { return console_; }
  ConsoleProgress& Progress() { return progress_; }
  SamplerConnection& Connection() { return connection_; }
  ConsoleSessionUi& Ui() { return ui_; }

  // The session on a sampler that answered the probe. When there is none, the reason has been
  // told on standard error, `exit` holds the exit code and the result is nullptr.
  protocol::TEps* Sampler(int& exit);
  // Tells `sentence` as an error and returns `exit`, for `return context.Fail(...)`.
  int Fail(int exit, const std::string& sentence);

 private:
  Console& console_;
  ConsoleProgress& progress_;
  SamplerConnection& connection_;
  ConsoleSessionUi& ui_;
  bool opened_ = false;
  int openExit_ = 0;
};

}  // namespace kelvora::cli
