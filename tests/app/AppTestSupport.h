#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "UiTestSupport.h"
#include "app/MainForm.h"
#include "midi/DeviceList.h"
#include "sim/SimMidiDriver.h"

namespace kelvora::testing {

// A machine without MIDI hardware: no real devices, then the simulated sampler with its demo
// content, so the sampler is device 0 in both lists.
class NoHardwareMachine {
 public:
  NoHardwareMachine();
  ~NoHardwareMachine();

  sim::SimMidiDriver& Sampler() { return *sampler_; }

 private:
  NamedDevices hardware_;
  std::unique_ptr<sim::SimMidiDriver> sampler_;
  std::unique_ptr<midi::DeviceList> devices_;
};

// A settings file of its own for each test; `started` records an earlier run, so no welcome.
QString FreshSettings(bool started = true);
QString ReadSettingsFile(const QString& path);

std::unique_ptr<app::TMainForm> MakeMainForm(const QString& settingsPath,
                                             const QStringList& arguments = {});

// What each main-window test starts from: the machine without hardware and a main window on
// fresh settings, shown at 20, 20 with the given size. False when the window did not appear.
bool ShowMainWindow(std::unique_ptr<NoHardwareMachine>& machine,
                    std::unique_ptr<app::TMainForm>& form, int width, int height);
// Closes the window before the machine goes, as the program ends.
void CloseMainWindow(std::unique_ptr<NoHardwareMachine>& machine,
                     std::unique_ptr<app::TMainForm>& form);

// Lets the event loop run for `ms` milliseconds.
void RunEvents(int ms);

}  // namespace kelvora::testing
