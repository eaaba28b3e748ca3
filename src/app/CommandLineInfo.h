#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kelvora::app {

// The texts of --version and --help. They are answered before any window, display or lock is
// touched, so they work on a terminal without a desktop and while another Kelvora runs.
class CommandLineInfo {
 public:
  // The text to print when the arguments (after the program name) ask for it; --help wins over
  // --version. Anything else, switches and file names included, starts the program as usual.
  static std::optional<std::string> Requested(const std::vector<std::string>& arguments);

  static std::string VersionText();
  static std::string HelpText();
};

}  // namespace kelvora::app
