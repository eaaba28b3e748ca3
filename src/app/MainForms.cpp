#include "app/MainForms.h"

#include "app/HelpWindow.h"
#include "dialogs/AboutForm.h"
#include "dialogs/GotoPrefForm.h"
#include "dialogs/JobProgressForm.h"
#include "dialogs/NoEpsForm.h"
#include "dialogs/OpenWaveForm.h"
#include "dialogs/PreferencesForm.h"
#include "dialogs/StatusForm.h"
#include "dialogs/WsIsCopyForm.h"

namespace kelvora::app {

MainForms::MainForms(protocol::TEps& eps, transfer::DownloadFormat& download, QWidget* mainWindow)
    : AboutForm(new dialogs::TAboutForm(mainWindow)),
      OpenWaveForm(new dialogs::TOpenWaveForm(eps, mainWindow)),
      PreferencesForm(new dialogs::TPreferencesForm(eps, download, mainWindow)),
      NoEpsForm(new dialogs::TNoEpsForm(mainWindow)),
      GotoPrefForm(new dialogs::TGotoPrefForm(mainWindow)),
      WsIsCopyForm(new dialogs::TWsIsCopyForm(mainWindow)),
      StatusForm(new dialogs::TStatusForm(mainWindow)),
      JobForm(new dialogs::JobProgressForm(mainWindow)),
      Help(new HelpWindow(mainWindow)) {}

}  // namespace kelvora::app
