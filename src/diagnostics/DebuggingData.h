#pragma once

#include "diagnostics/Debugdevice.h"

namespace kelvora::diagnostics {

// The data module that holds the application's debug device. Created once at start-up,
// after the main window has chosen the medium and opened the session; its medium (dmSerial)
// therefore counts only when no session is open yet.
class TDebuggingData {
 public:
  TDebuggingData();   // opens the session unless one is open, then sets DebugDevice
  ~TDebuggingData();  // ends the session and clears DebugDevice
  TDebuggingData(const TDebuggingData&) = delete;
  TDebuggingData& operator=(const TDebuggingData&) = delete;

  TDebugDevice Debug;
};

}  // namespace kelvora::diagnostics
