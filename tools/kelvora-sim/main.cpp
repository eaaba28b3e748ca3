// kelvora-sim: the simulated EPS/ASR sampler as a program of its own, on an ALSA sequencer port
// or on standard input and output.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "kelvora-sim/AlsaPump.h"
#include "kelvora-sim/CliOptions.h"
#include "kelvora-sim/Report.h"
#include "kelvora-sim/ShutdownLatch.h"
#include "kelvora-sim/StdioPump.h"

namespace {
constexpr int kBadOptions = 2;
constexpr int kFailed = 1;
}  // namespace

int main(int argc, char** argv) {
  using namespace kelvora::simcli;
  const ParseResult parsed = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.error.empty()) {
    Report(parsed.error + " (kelvora-sim --help lists the options)");
    return kBadOptions;
  }
  if (parsed.options.help) {
    std::fputs(HelpText().c_str(), stdout);
    return 0;
  }
  ShutdownLatch latch;
  if (std::string error; !latch.Install(error)) {
    Report("cannot watch for signals: " + error);
    return kFailed;
  }
  if (parsed.options.mode == Mode::Alsa) return AlsaPump(latch).Run(parsed.options);
  return StdioPump(STDIN_FILENO, STDOUT_FILENO, latch).Run(parsed.options);
}
