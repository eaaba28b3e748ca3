#include <algorithm>

#include "diagnostics/Debugdevice.h"
#include "midi/Midiin.h"
#include "protocol/Eps.h"
#include "protocol/EpsWaitCursor.h"
#include "protocol/Records.h"

namespace kelvora::protocol {

using diagnostics::DebugLine;

namespace {

constexpr int kOpenFailed = 0;
constexpr int kOpened = 1;
constexpr int kIsCopy = 2;
constexpr int kWriteDone = 1;
constexpr int kWriteFailed = 2;

}  // namespace

int TEps::OpenWs(bool forEdit) {
  const EpsWaitCursor wait(ui_);
  MidiIn->Flush();
  CloseWs();
  DebugLine("## OPEN WS ##");
  SelectInstrument();
  protocol::SendGetWsParams(output_, Channel(), CurrentTarget());
  int result = FetchWsParams();
  if (result == kOpened && forEdit) result = ExtendWithSilence();
  WsOpen = forEdit && result == kOpened;
  if (WsOpen) RefreshOverview();
  ui_.UpdateCommands();
  return result;
}

int TEps::FetchWsParams() {
  if (ProcessInput() != prAck) return kOpenFailed;
  if (ProcessInput() != prWsParams) {
    DebugLine("Error getting Parameters");
    return kOpenFailed;
  }
  // A parameters-only copy has no data of its own to edit.
  records_.Put(Instrument, WaveSample, WsParams);
  const int copySource = (WsParams[kWsCopySource] >> 8) & 0xFF;
  return copySource != 0 ? kIsCopy : kOpened;
}

// The view asks for overviews of 1024 × step samples from its start, which reaches past the sample
// end. So that every request stays inside the data, the data is made to exist past the end (the
// wavesample copies itself onto its own tail) and is then silenced, up to twice the end rounded
// down to 512, plus 1024 samples.
int TEps::ExtendWithSilence() {
  int end = GetPosition(WsParams, kWsSampleEnd);
  WsLast = end;
  if (end <= 0) {
    // Copying an empty range would never lengthen the data.
    DebugLine("Sample end is 0: nothing to extend");
    return kOpenFailed;
  }
  const int target = 2 * (end - end % 512) + 1024;
  while (end < target) {
    const int count = std::min(target - end + 1, end + 1);
    CopyData(0, count - 1, end);
    if (ProcessInput() != prAck) return kOpenFailed;
    end += count - 1;
  }
  ClearData(WsLast + 1, target + 1);
  if (ProcessInput() != prAck) return kOpenFailed;
  ViewStart = 0;
  ViewEnd = WsLast + 1;
  return kOpened;
}

// The parameters go back before the sampler ends the edit, which drops the silence added when
// the wavesample was opened.
void TEps::CloseWs() {
  if (WsOpen) {
    DebugLine("## CLOSE WS ##");
    // Ending the edit truncates the data, which moves the points of the copies that share it.
    records_.ForgetInstrument(Instrument);
    WriteWsParams();
    SendEndEdit(output_, Channel(), CurrentTarget());
    ProcessInput();
    WsOpen = false;
    ui_.UpdateCommands();
  }
  OverviewStale = true;
}

int TEps::WriteWsParams() {
  records_.Forget(Instrument, WaveSample);
  protocol::SendPutWsParams(output_, Channel(), CurrentTarget());
  if (ProcessInput() != prAck) return kWriteFailed;
  SendDataMessage(WsParams, kWsParamWords);
  return ProcessInput() == prAck ? kWriteDone : kWriteFailed;
}

}  // namespace kelvora::protocol
