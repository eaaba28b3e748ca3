#pragma once

#include "protocol/SessionUi.h"

namespace kelvora::cli {

// The session's way up on a console: there are no dialogs and nobody to press Retry. A sampler
// that cannot be reached is remembered with its reason for the program to report and turn into
// its exit code; the two warning boxes become flags the commands read.
class ConsoleSessionUi : public protocol::SessionUi {
 public:
  void BeginWait() override {}
  void EndWait() override {}
  void UpdateCommands() override {}
  void RefreshView() override {}

  int ShowNoEps(protocol::TNoEpsReason reason) override;
  void ShowInvalidWaveSample() override { invalidWaveSample_ = true; }
  void ShowWaveSampleIsCopy() override { waveSampleIsCopy_ = true; }

  bool UploadDialogActive() override { return false; }
  void KeyPlayed(int) override {}

  // 0 until a connection failed; then its reason.
  int NoEpsReason() const { return noEpsReason_; }
  // Whether the sampler refused an object as invalid, or as a parameters-only copy, since the
  // last ClearWarnings.
  bool InvalidWaveSample() const { return invalidWaveSample_; }
  bool WaveSampleIsCopy() const { return waveSampleIsCopy_; }
  void ClearWarnings();

 private:
  int noEpsReason_ = 0;
  bool invalidWaveSample_ = false;
  bool waveSampleIsCopy_ = false;
};

}  // namespace kelvora::cli
