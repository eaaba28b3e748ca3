#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <exception>

#include "app/CommandTable.h"
#include "app/MainForm.h"
#include "app/StartupPlan.h"
#include "diagnostics/Debugdevice.h"
#include "editor/WaveView.h"
#include "midi/MidiSystem.h"
#include "midi/Midiin.h"
#include "midi/Midiout.h"
#include "protocol/Eps.h"
#include "settings/Settings.h"

namespace kelvora::app {

using settings::Settings;
using settings::StoredPreferences;
using settings::WindowPlacement;

namespace {

QStringList InputNames() {
  QStringList names;
  midi::MidiDriver& driver = midi::CurrentDriver();
  for (int i = 0; i < driver.InputCount(); ++i)
    names << QString::fromStdString(driver.InputName(i));
  return names;
}

QStringList OutputNames() {
  QStringList names;
  midi::MidiDriver& driver = midi::CurrentDriver();
  for (int i = 0; i < driver.OutputCount(); ++i) {
    names << QString::fromStdString(driver.OutputName(i));
  }
  return names;
}

// Bounds saved on a screen that is no longer attached would open the window out of reach.
QRect ReachableBounds(const QRect& bounds) {
  for (const QScreen* screen : QGuiApplication::screens()) {
    if (screen->availableGeometry().intersects(bounds)) return bounds;
  }
  return QRect(WindowPlacement().bounds.topLeft(), bounds.size());
}

Qt::WindowStates StateFlags(int state) {
  switch (state) {
    case 1:
      return Qt::WindowMinimized;
    case 2:
      return Qt::WindowMaximized;
    default:
      return Qt::WindowNoState;
  }
}

}  // namespace

void TMainForm::FormCreate() {
  diagnostics::TDebugDevice debug;
  debug.Close();
  debug.SetMedia(diagnostics::dmNull);
  debug.SetMedia(DebugMediaFromArguments(arguments_));
  debug.Open();

  ReadSettings();
  connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
          &TMainForm::UpdateStatusBar);
  UpdateCommands();
  SetVerticalScale(8);

  const StartupPlan plan = PlanStartup(firstRun_, arguments_);
  if (plan.showMainWindow) show();
  if (plan.postGotoPref) PostCommand(Cmd::GotoPref);
  if (plan.postAutoUpload) PostCommand(Cmd::AutoUpload);
}

void TMainForm::ReadSettings() {
  Settings settings(settingsPath_);
  firstRun_ = settings.TakeFirstRun();
  const WindowPlacement placement = settings.ReadWindow();
  setGeometry(ReachableBounds(placement.bounds));
  setWindowState(StateFlags(placement.state));

  const StoredPreferences prefs = settings.ReadPreferences(InputNames(), OutputNames());
  eps_->MidiIn->SetDeviceID(prefs.midiIn);
  eps_->MidiOut->SetDeviceID(prefs.midiOut);
  eps_->MidiOut->SetChannel(prefs.channel);
  eps_->BlockSize = prefs.blockSize;
  eps_->Delay = prefs.delay;
  UploadDownloadPath = prefs.uploadDownloadPath;
  downloadFormat_.container =
      static_cast<transfer::DownloadFormat::Container>(prefs.downloadFormat);
  downloadFormat_.rate = prefs.downloadRate;
}

int TMainForm::SavedWindowState() const {
  if (isMinimized()) return 1;
  if (isMaximized() || isFullScreen()) return 2;
  return 0;
}

// Runs once, however the window is closed.
void TMainForm::FormClose() {
  if (closed_) return;
  closed_ = true;
  // The settings are saved even when the sampler cannot take the wavesample back.
  try {
    eps_->CloseWs();
  } catch (const std::exception& failure) {
    QMessageBox::critical(nullptr, "Kelvora", QString::fromStdString(failure.what()));
  }
  Settings settings(settingsPath_);
  settings.WriteWindow(SavedWindowState(), geometry());
  StoredPreferences prefs;
  prefs.midiIn = eps_->MidiIn->DeviceID();
  prefs.midiOut = eps_->MidiOut->DeviceID();
  prefs.channel = eps_->MidiOut->Channel();
  prefs.blockSize = eps_->BlockSize;
  prefs.delay = eps_->Delay;
  prefs.uploadDownloadPath = UploadDownloadPath;
  prefs.downloadFormat = static_cast<int>(downloadFormat_.container);
  prefs.downloadRate = downloadFormat_.rate;
  settings.WritePreferences(prefs, InputNames(), OutputNames(),
                            QCoreApplication::applicationFilePath());
  settings.Sync();
  Q_EMIT Closed();
}

}  // namespace kelvora::app
