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

// Lets the event loop run for `ms` milliseconds.
void RunEvents(int ms);

}  // namespace kelvora::testing
