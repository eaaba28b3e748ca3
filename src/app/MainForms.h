#pragma once

class QWidget;

namespace kelvora::protocol {
class TEps;
}
namespace kelvora::transfer {
struct DownloadFormat;
}
namespace kelvora::dialogs {
class JobProgressForm;
class TAboutForm;
class TGotoPrefForm;
class TNoEpsForm;
class TOpenWaveForm;
class TPreferencesForm;
class TStatusForm;
class TWsIsCopyForm;
}  // namespace kelvora::dialogs

namespace kelvora::app {

class HelpWindow;

// The dialogs of the program, created once with the main window as their parent and shown again
// and again.
struct MainForms {
  MainForms(protocol::TEps& eps, transfer::DownloadFormat& download, QWidget* mainWindow);

  dialogs::TAboutForm* AboutForm;
  dialogs::TOpenWaveForm* OpenWaveForm;
  dialogs::TPreferencesForm* PreferencesForm;
  dialogs::TNoEpsForm* NoEpsForm;
  dialogs::TGotoPrefForm* GotoPrefForm;
  dialogs::TWsIsCopyForm* WsIsCopyForm;
  dialogs::TStatusForm* StatusForm;   // the progress window of downloads and uploads
  dialogs::JobProgressForm* JobForm;  // the progress window of jobs over many files
  HelpWindow* Help;
};

}  // namespace kelvora::app
