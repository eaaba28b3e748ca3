#include "cli/ExitCode.h"

namespace kelvora::cli {

namespace {

int Rank(int code) {
  switch (code) {
    case kExitDone:
      return 0;
    case kExitFailed:
      return 1;
    case kExitRefused:
      return 2;
    case kExitNoSampler:
      return 3;
    case kExitBadUsage:
      return 4;
    default:
      return 5;  // interrupted
  }
}

}  // namespace

int WorseExit(int a, int b) { return Rank(a) >= Rank(b) ? a : b; }

}  // namespace kelvora::cli
