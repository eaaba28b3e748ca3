#include "cli/ConsoleSessionUi.h"

namespace kelvora::cli {

// Cancel: a console program does not retry on its own; the user runs the command again.
int ConsoleSessionUi::ShowNoEps(protocol::TNoEpsReason reason) {
  noEpsReason_ = reason;
  return protocol::mrCancel;
}

void ConsoleSessionUi::ClearWarnings() {
  invalidWaveSample_ = false;
  waveSampleIsCopy_ = false;
}

}  // namespace kelvora::cli
