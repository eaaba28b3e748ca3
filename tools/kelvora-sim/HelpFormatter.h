#pragma once

#include <CLI/CLI.hpp>
#include <string>

namespace kelvora::simcli {

// --help as kelvora-sim prints it: the usage line and the description, then each group of
// options under its heading with one blank line between groups, every option's text in a column
// of its own from the 31st character. The texts carry their own line breaks.
class HelpFormatter : public CLI::Formatter {
 public:
  explicit HelpFormatter(std::string synopsis) : synopsis_(std::move(synopsis)) {}

  std::string make_help(const CLI::App* app, std::string name,
                        CLI::AppFormatMode mode) const override;

 private:
  std::string synopsis_;  // what follows the program's name on the usage line
};

}  // namespace kelvora::simcli
