#include "diagnostics/DebuggingData.h"

#include "diagnostics/DebugSerialSink.h"
#include "diagnostics/ProgramNotice.h"

namespace kelvora::diagnostics {

namespace {

std::string FailureOf(TDebugMedia media) {
  switch (media) {
    case dmFile:
      return "Debug.txt cannot be created beside the program or in the state folder";
    case dmWindow:
      return "no monitor answers on the session bus";
    case dmSerial:
      return "the serial port " + TDebugSerialSink::PortPath() + " cannot be opened";
    default:
      return "its medium cannot be opened";
  }
}

}  // namespace

TDebuggingData::TDebuggingData() {
  if (!TDebugDevice::SessionOpen()) OpenFallback();
  DebugDevice = &Debug;
}

TDebuggingData::~TDebuggingData() {
  Debug.Close();
  if (DebugDevice == &Debug) DebugDevice = nullptr;
}

void TDebuggingData::OpenFallback() {
  const TDebugMedia asked = Debug.Media();
  if (asked == dmNull) {
    Debug.Open();  // no log was asked for: none is kept
    return;
  }
  Debug.SetMedia(dmStateFile);
  Debug.Open();
  const std::string outcome =
      TDebugDevice::SessionOpen() ? "writing to " + TDebugDevice::FilePath() : "the log is off";
  ProgramNotice("Debug log: " + FailureOf(asked) + "; " + outcome);
}

}  // namespace kelvora::diagnostics
