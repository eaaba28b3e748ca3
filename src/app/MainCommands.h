#pragma once

#include <QString>
#include <QUrl>
#include <functional>

namespace kelvora::app {

class TMainForm;

// The commands of the main window that are not transfers or edits: open and close a wavesample,
// exit, the preferences and the welcome, the view's zoom and scale, help, home page, About and
// "Debug to file".
class MainCommands {
 public:
  static constexpr const char* kHomepage = "https://kelvora.org/";

  explicit MainCommands(TMainForm& form);

  void OpenWavesampleClick();
  void CloseWavesampleClick();
  void ExitClick();
  void PreferencesClick();
  void GotoPrefClick();
  void ContentsClick();
  void HomepageMenuItemClick();
  void AboutMenuItemClick();
  void DebugMenuItemClick();
  void ZoomIn();
  void ZoomOut();
  void ShowAll();

  // How the home page is opened; tests replace it.
  std::function<bool(const QUrl&)> OpenUrl;

 private:
  void Register();

  TMainForm& form_;
};

}  // namespace kelvora::app
