#include <cstdio>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/CommandLineInfo.h"

int main(int argc, char** argv) {
  using kelvora::app::CommandLineInfo;
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  if (const auto text = CommandLineInfo::Requested(arguments)) {
    // A closed or full standard output is a failure the caller should hear about.
    const bool written = std::fputs(text->c_str(), stdout) >= 0 && std::fflush(stdout) == 0;
    return written ? 0 : 1;
  }
  return kelvora::app::RunKelvora(argc, argv);
}
