#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "protocol/SessionUi.h"

namespace kelvora::testing {

// A SessionUi that records every call, answers the connection-failure dialog from a script,
// reports whether the upload dialog is active as a test sets it and hands RefreshView on to
// whatever a window test hangs on it (the waveform view).
class SessionRecordingUi : public protocol::SessionUi {
 public:
  void BeginWait() override { ++beginWaits; }
  void EndWait() override { ++endWaits; }
  void UpdateCommands() override { ++updateCommands; }
  void RefreshView() override {
    ++refreshViews;
    if (onRefreshView) onRefreshView();
  }

  // The next scripted answer, or mrOk when the script is used up.
  int ShowNoEps(protocol::TNoEpsReason reason) override {
    noEpsReasons.push_back(reason);
    if (noEpsAnswers.empty()) return protocol::mrOk;
    const int answer = noEpsAnswers.front();
    noEpsAnswers.pop_front();
    return answer;
  }
  void ShowInvalidWaveSample() override { ++invalidWaveSampleBoxes; }
  void ShowWaveSampleIsCopy() override { ++waveSampleIsCopyBoxes; }

  bool UploadDialogActive() override { return uploadDialogActive; }
  void KeyPlayed(int key) override { keysPlayed.push_back(key); }

  int beginWaits = 0;
  int endWaits = 0;
  int updateCommands = 0;
  int refreshViews = 0;
  std::function<void()> onRefreshView;
  std::vector<protocol::TNoEpsReason> noEpsReasons;
  std::deque<int> noEpsAnswers;
  int invalidWaveSampleBoxes = 0;
  int waveSampleIsCopyBoxes = 0;
  bool uploadDialogActive = false;
  std::vector<int> keysPlayed;
};

}  // namespace kelvora::testing
