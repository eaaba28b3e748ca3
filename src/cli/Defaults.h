#pragma once

#include <string>
#include <vector>

namespace kelvora::cli {

// What kelvora-cli uses where the command line says nothing: the window program's preferences,
// so that a user who configured Kelvora once types `kelvora-cli ls`.
struct Defaults {
  int midiIn = 0;  // numbers in the per-direction device lists; -1 none
  int midiOut = 0;
  int channel = 1;
  int blockSize = 256;
  int delay = 0;
  std::string simulatorState;
};

// The settings file at `path` read against the devices listed now (a device found again by its
// stored name when the numbers moved); a file that is missing or damaged gives the defaults.
Defaults ReadDefaults(const std::string& path, const std::vector<std::string>& inputs,
                      const std::vector<std::string>& outputs);

}  // namespace kelvora::cli
