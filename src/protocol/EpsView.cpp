#include <algorithm>
#include <iterator>

#include "midi/Clock.h"
#include "midi/Midiin.h"
#include "protocol/Eps.h"
#include "protocol/EpsWaitCursor.h"
#include "protocol/Records.h"

namespace kelvora::protocol {

namespace {

// Lets the sampler settle on the instrument just selected before it is asked for data.
constexpr uint32_t kSelectPauseMs = 100;

}  // namespace

// The window never reaches past the data that exists (WsLast + 1) and never shows fewer than the
// 512 points of the view.
void TEps::SetViewEnd(int position) {
  ViewEnd = position;
  if (WsLast + 1 < position) ViewEnd = WsLast + 1;
  if (ViewEnd < kOverviewPoints) ViewEnd = kOverviewPoints;
}

void TEps::SetViewStart(int position) {
  ViewStart = position;
  if (WsLast - (kOverviewPoints - 1) < position) ViewStart = WsLast - (kOverviewPoints - 1);
  if (ViewStart < 0) ViewStart = 0;
}

// The window spans 512 × ViewStep samples; a step below 1 could never draw anything.
void TEps::ComputeViewStep() {
  const int span = ViewEnd - ViewStart;
  ViewStep = std::max((span - 1) / kOverviewPoints + 1, 1);
  SetViewEnd(ViewStart + kOverviewPoints * ViewStep);
  SetViewStart(ViewEnd - kOverviewPoints * ViewStep);
}

// The whole wavesample's overview is kept, so showing it all again costs no MIDI traffic until
// an edit makes it stale.
bool TEps::RefreshOverview() {
  bool done = true;
  {
    const EpsWaitCursor wait(ui_);
    ComputeViewStep();
    Zoomed = ViewStart != 0 || ViewEnd != WsLast + 1;
    if (Zoomed || OverviewStale) {
      done = FetchViewData();
    } else {
      RestoreFullOverview();
    }
    ui_.UpdateCommands();
  }
  ui_.RefreshView();
  return done;
}

// At one sample per point the samples themselves are drawn; otherwise the sampler's overview of
// 1024 × step samples, of which the view draws the first half.
bool TEps::FetchViewData() {
  MidiIn->Flush();
  SelectInstrument();
  midi::SleepMs(kSelectPauseMs);
  if (ViewStep < 2) {
    SendGetWsData(ViewStart, ViewStart + kOverviewPoints);
    return ProcessInput() == prAck && ProcessInput() == prData;
  }
  protocol::SendGetOverview(output_, Channel(), CurrentTarget(), ViewStart,
                            ViewStart + ViewStep * 2 * kOverviewPoints);
  if (WaitResult() != prAck || ProcessInput() != prOverview) return false;
  if (ViewStart == 0 && ViewEnd == WsLast + 1) SaveFullOverview();
  return true;
}

bool TEps::ReadWsData(int start, int end, int* words) {
  if (start < 0 || end <= start || end - start > kSampleBufferWords || end > kMaxPosition + 1)
    return false;
  // The view's destination comes back however the exchange ends, a port failure included.
  struct Destination {
    TEps& eps;
    ~Destination() {
      eps.dataWords_ = eps.Overview;
      eps.dataCount_ = kOverviewPoints;
      eps.dataStart_ = -1;
    }
  } restore{*this};
  dataWords_ = words;
  dataCount_ = end - start;
  dataStart_ = start;
  MidiIn->Flush();
  SendGetWsData(start, end);
  return ProcessInput() == prAck && ProcessInput() == prData;
}

void TEps::SaveFullOverview() {
  std::copy(std::begin(Overview), std::end(Overview), std::begin(FullOverview));
  OverviewStale = false;
}

void TEps::RestoreFullOverview() {
  std::copy(std::begin(FullOverview), std::end(FullOverview), std::begin(Overview));
  OverviewStale = false;
}

}  // namespace kelvora::protocol
