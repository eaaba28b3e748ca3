#pragma once

#include <string>
#include <vector>

#include "kelvora-sim/CliOptions.h"

namespace kelvora::simcli {

// One command-line option: how --help shows it and what it does to the options.
struct OptionEntry {
  const char* group;      // heading it is listed under
  const char* name;       // "--channel"
  const char* valueName;  // "N"; nullptr for an option that takes no value
  const char* help;       // broken into lines where --help breaks it
  // Takes the value (empty for an option without one); returns what is wrong with it, or
  // nothing when it was taken.
  std::string (*apply)(CliOptions& options, const std::string& value);
};

// Every option, in the order --help lists them.
const std::vector<OptionEntry>& OptionTable();

}  // namespace kelvora::simcli
