#pragma once

#include <string>

namespace CLI {
class App;
}

namespace kelvora::cli {

// The options every subcommand shares. Numbers left at 0 and empty texts were not given: the
// window program's settings fill them in.
struct GlobalOptions {
  std::string device;
  std::string in;
  std::string out;
  int channel = 0;
  int blockSize = 0;
  std::string simState;
  bool simPaced = false;
  bool json = false;
  bool quiet = false;
  bool verbose = false;

  // Adds them to the program's command line, bound to these members.
  void Declare(CLI::App& program);
};

}  // namespace kelvora::cli
