#pragma once

#include <string>
#include <vector>

#include "sim/FaultPlan.h"
#include "sim/SimOptions.h"

namespace kelvora::simcli {

enum class Mode { None, Alsa, Stdio };

// Everything the command line of kelvora-sim sets.
struct CliOptions {
  Mode mode = Mode::None;
  std::string portName;  // empty: "Simulated " and the model's name
  sim::SimOptions sim;
  sim::FaultPlan faults;  // committed once each, counted from the start
  bool help = false;
};

struct ParseResult {
  CliOptions options;
  std::string error;  // one line; empty when the arguments can be used
};

// The arguments after the program's name. Options take their value as the next argument or
// after "=" (--channel 3, --channel=3); numbers may be written in hexadecimal (0x0F).
ParseResult ParseArguments(const std::vector<std::string>& arguments);

// The ALSA client and port name the options ask for.
std::string PortName(const CliOptions& options);

// Usage and every option, for --help.
std::string HelpText();

}  // namespace kelvora::simcli
