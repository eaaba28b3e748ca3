#include "diagnostics/ProgramNotice.h"

#include <cstdio>

#include "diagnostics/Debugdevice.h"

namespace kelvora::diagnostics {

void ProgramNotice(const std::string& line) {
  DebugLine(line);
  std::fprintf(stderr, "%s\n", line.c_str());
}

}  // namespace kelvora::diagnostics
