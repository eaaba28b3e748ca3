#pragma once

#include <functional>

namespace kelvora::protocol {
class TEps;
}
namespace kelvora::dialogs {
class TPBModeForm;
class TScaleDataForm;
}  // namespace kelvora::dialogs

namespace kelvora::app {

class TMainForm;

// The editing commands of the main window (Edit menu and the tool buttons that share them). The
// sampler edits its own memory: the data commands send a range command, wait for the answer and
// fetch a new picture; the marker and playback-mode commands change the open wavesample's record
// and send it back whole. The selection stays after every command.
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

  dialogs::TPBModeForm& PBModeForm() { return *pbModeForm_; }
  dialogs::TScaleDataForm& ScaleDataForm() { return *scaleDataForm_; }

 private:
  void Register();
  // Whether a command that works on the selection has one to work on.
  bool SelectionReady() const;
  // send, then the sampler's answer and a fresh picture.
  void RunDataCommand(const std::function<void(protocol::TEps&)>& send);
  // rule(WsParams, ...) changes the record, which then goes back to the sampler.
  void RunPointRule(const std::function<void(int*)>& rule);
  void SendScaleSegments();

  TMainForm& form_;
  // Children of the main window, which deletes them.
  dialogs::TPBModeForm* pbModeForm_;
  dialogs::TScaleDataForm* scaleDataForm_;
};

}  // namespace kelvora::app
