#pragma once

#include "diagnostics/DebugSink.h"

namespace kelvora::diagnostics {

// The medium of a dmWindow session: a monitor program outside this one. The debug log knows no
// transport; a program that offers the medium installs one with TDebugDevice::InstallMonitor.
class TDebugMonitor : public TDebugSink {
 public:
  // True when a monitor is there to receive the text; called as each session starts.
  virtual bool Open() = 0;
};

}  // namespace kelvora::diagnostics
