#include "app/MainCommands.h"

#include <QDesktopServices>
#include <QMessageBox>

#include "app/CommandTable.h"
#include "app/HelpWindow.h"
#include "app/LoopTools.h"
#include "app/MainForm.h"
#include "app/MainForms.h"
#include "diagnostics/Debugdevice.h"
#include "dialogs/AboutForm.h"
#include "dialogs/GotoPrefForm.h"
#include "dialogs/HelpLink.h"
#include "dialogs/OpenWaveForm.h"
#include "dialogs/PreferencesForm.h"
#include "dialogs/WsIsCopyForm.h"
#include "editor/WaveView.h"
#include "protocol/Eps.h"

namespace kelvora::app {

MainCommands::MainCommands(TMainForm& form)
    : OpenUrl([](const QUrl& url) { return QDesktopServices::openUrl(url); }), form_(form) {
  Register();
  dialogs::SetHelpHandler([this](int context) {
    if (context == dialogs::hcContents) {
      form_.Forms().Help->ShowContents();
    } else {
      form_.Forms().Help->ShowTopic(context);
    }
  });
}

void MainCommands::Register() {
  CommandTable& table = form_.Commands();
  table.SetHandler(Cmd::OpenWavesample, [this] { OpenWavesampleClick(); });
  table.SetHandler(Cmd::CloseWavesample, [this] { CloseWavesampleClick(); });
  table.SetHandler(Cmd::Exit, [this] { ExitClick(); });
  table.SetHandler(Cmd::Preferences, [this] { PreferencesClick(); });
  table.SetHandler(Cmd::GotoPref, [this] { GotoPrefClick(); });
  table.SetHandler(Cmd::Contents, [this] { ContentsClick(); });
  table.SetHandler(Cmd::Homepage, [this] { HomepageMenuItemClick(); });
  table.SetHandler(Cmd::About, [this] { AboutMenuItemClick(); });
  table.SetHandler(Cmd::Debug, [this] { DebugMenuItemClick(); });
  table.SetHandler(Cmd::ZoomIn, [this] { ZoomIn(); });
  table.SetHandler(Cmd::ZoomOut, [this] { ZoomOut(); });
  table.SetHandler(Cmd::ShowAll, [this] { ShowAll(); });
  for (int index = 0; index <= 8; ++index) {
    table.SetHandler(ScaleCommand(index), [this, index] { form_.SetVerticalScale(index); });
  }
}

// The browser comes back after a failed open, so the user can pick another wavesample or cancel.
void MainCommands::OpenWavesampleClick() {
  protocol::TEps& eps = form_.Eps();
  if (!eps.OpenDevices()) return;
  eps.CloseWs();
  form_.ResetView();
  MainForms& forms = form_.Forms();
  while (forms.OpenWaveForm->Execute(dialogs::bmOpen) == protocol::mrOk) {
    if (dialogs::OpenWithCopyRedirect(eps, *forms.WsIsCopyForm) == 1) {
      form_.RefreshView();
      form_.Loops().WaveSampleChanged();
      return;
    }
  }
}

void MainCommands::CloseWavesampleClick() {
  form_.Eps().CloseWs();
  form_.ResetView();
}

void MainCommands::ExitClick() { form_.close(); }

void MainCommands::PreferencesClick() { form_.Forms().PreferencesForm->Execute(); }

// Preferences opens only after the welcome has gone, as a command of its own.
void MainCommands::GotoPrefClick() {
  if (form_.Forms().GotoPrefForm->Execute() == protocol::mrOk) form_.PostCommand(Cmd::Preferences);
}

void MainCommands::ContentsClick() { form_.Forms().Help->ShowContents(); }

void MainCommands::HomepageMenuItemClick() {
  if (!OpenUrl(QUrl(kHomepage))) diagnostics::DebugLine("Can't execute internet browser");
}

void MainCommands::AboutMenuItemClick() { form_.Forms().AboutForm->exec(); }

void MainCommands::DebugMenuItemClick() {
  diagnostics::TDebugDevice debug;
  debug.Close();
  debug.SetMedia(diagnostics::dmFile);
  debug.Open();
  if (!diagnostics::TDebugDevice::SessionOpen()) {
    QMessageBox::warning(&form_, "Debug session",
                         "The debug session could not start: Debug.txt cannot be created beside "
                         "the program or in the state folder.");
    return;
  }
  QMessageBox::information(&form_, "Thank you for pressing the debug button",
                           "Debug session has started\nData will be written to debug.txt");
}

void MainCommands::ZoomIn() { form_.View().ZoomIn(); }

void MainCommands::ZoomOut() { form_.View().ZoomOut(); }

void MainCommands::ShowAll() { form_.View().ShowAll(); }

}  // namespace kelvora::app
