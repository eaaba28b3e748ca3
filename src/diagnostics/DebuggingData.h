#pragma once

#include "diagnostics/Debugdevice.h"

namespace kelvora::diagnostics {

// The data module that holds the application's debug device. Created once at start-up, after
// the main window has chosen the medium and opened the session. When the medium asked for
// could not be opened, the log goes to Debug.txt in the state folder instead, and one line on
// standard error says so: a serial port is only ever opened when asked for.
class TDebuggingData {
 public:
  TDebuggingData();   // falls back as above unless a session is open, then sets DebugDevice
  ~TDebuggingData();  // ends the session and clears DebugDevice
  TDebuggingData(const TDebuggingData&) = delete;
  TDebuggingData& operator=(const TDebuggingData&) = delete;

  TDebugDevice Debug;

 private:
  void OpenFallback();
};

}  // namespace kelvora::diagnostics
