#include "app/Application.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>
#include <memory>

#include "app/MainForm.h"
#include "app/SingleInstance.h"
#include "dbusmonitor/DebugMonitorSink.h"
#include "diagnostics/DebuggingData.h"
#include "midi/AlsaMidiDriver.h"
#include "midi/DeviceList.h"
#include "midi/MidiSystem.h"
#include "settings/Settings.h"
#include "sim/SimMidiDriver.h"

namespace kelvora::app {

using settings::Settings;

namespace {

// The command line after the program name, as the platform delivers it.
QStringList ProgramArguments() {
  QStringList arguments = QCoreApplication::arguments();
  if (!arguments.isEmpty()) arguments.removeFirst();
  return arguments;
}

int RunWindows(QApplication& application) {
  TMainForm form({ProgramArguments(), Settings::DefaultPath()});
  diagnostics::TDebuggingData debugging;
  // The hidden main window of an unattended upload has no visible window between two uploads,
  // so the program ends when the main window closes, not when the last window does.
  QObject::connect(&form, &TMainForm::Closed, &application, &QCoreApplication::quit,
                   Qt::QueuedConnection);
  return application.exec();
}

}  // namespace

int RunKelvora(int argc, char** argv) {
  SingleInstance instance;
  if (!instance.TryAcquire()) return 0;

  QApplication application(argc, argv);
  QCoreApplication::setOrganizationName("Kelvora");
  QCoreApplication::setApplicationName("Kelvora");
  QApplication::setQuitOnLastWindowClosed(false);
  diagnostics::TDebugDevice::InstallMonitor(std::make_unique<diagnostics::TDebugMonitorSink>());

  midi::AlsaMidiDriver alsa;
  sim::SimOptions simulatorOptions;
  simulatorOptions.stateFile = Settings(Settings::DefaultPath()).SimulatorStateFile().toStdString();
  sim::SimMidiDriver simulated(simulatorOptions);
  simulated.SetRecording(false);
  midi::DeviceList devices{&alsa, &simulated};
  midi::SetDriver(&devices);
  int result = 0;
  try {
    result = RunWindows(application);
  } catch (const std::exception& failure) {
    QMessageBox::critical(nullptr, "Kelvora", QString::fromStdString(failure.what()));
    result = 1;
  }
  midi::SetDriver(nullptr);
  return result;
}

}  // namespace kelvora::app
