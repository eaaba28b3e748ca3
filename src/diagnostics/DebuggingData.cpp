#include "diagnostics/DebuggingData.h"

namespace kelvora::diagnostics {

TDebuggingData::TDebuggingData() {
  Debug.SetMedia(dmSerial);
  Debug.Open();
  DebugDevice = &Debug;
}

TDebuggingData::~TDebuggingData() {
  Debug.Close();
  if (DebugDevice == &Debug) DebugDevice = nullptr;
}

}  // namespace kelvora::diagnostics
