#pragma once

#include <QString>

namespace kelvora::app {

class TMainForm;

// The editing commands of the main window (Edit menu and the tool buttons that share them). The
// sampler-side editing and the playback-mode and envelope dialogs come in their own piece of
// work; until then each command says so instead of pretending.
class EditCommands {
 public:
  explicit EditCommands(TMainForm& form);

  void ClearDataClick();
  void ReverseDataClick();
  void ScaleDataClick();
  void NormalizeGainClick();
  void FadeInClick();
  void FadeOutClick();
  void SetSampleStartClick();
  void SetSampleEndClick();
  void SetLoopStartClick();
  void SetLoopEndClick();
  void SetPlaybackModeClick();

 private:
  void NotAvailable(const QString& what);

  TMainForm& form_;
};

}  // namespace kelvora::app
