#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace kelvora::cli {

// Where kelvora-cli runs: its streams, whether standard error is a terminal (progress bar), and
// where the window program's settings file is.
struct ProgramEnvironment {
  std::FILE* out = stdout;
  std::FILE* err = stderr;
  bool terminal = false;
  std::string settingsPath;
};

// The whole of kelvora-cli: parses the arguments (after the program's name), sets up the console,
// the devices and the session, runs the one subcommand and returns the exit code.
int RunProgram(const std::vector<std::string>& arguments, const ProgramEnvironment& environment);

// The usage line, the subcommands and the options, as --help prints them.
std::string ProgramHelp();

}  // namespace kelvora::cli
