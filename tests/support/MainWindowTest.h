#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "app/MainForm.h"
#include "sim/SimOptions.h"
#include "support/NoHardwareMachine.h"
#include "support/WindowTest.h"

namespace kelvora::testing {

// The base of the main-window tests: the machine without hardware and a main window on fresh
// settings, which each test's init() shows and cleanup() closes.
class MainWindowTest : public WindowTest {
  Q_OBJECT

 public:
  using WindowTest::WindowTest;

 protected:
  // Shows the window at 20, 20 with the given size, the simulated sampler made with `options`;
  // false when the window did not appear.
  bool ShowMainWindow(int width, int height, const sim::SimOptions& options = {});
  // Closes the window before the machine goes, as the program ends.
  void CloseMainWindow();

  std::unique_ptr<NoHardwareMachine> machine_;
  std::unique_ptr<app::TMainForm> form_;
};

// A settings file of its own for each test; `started` records an earlier run, so no welcome.
QString FreshSettings(bool started = true);
QString ReadSettingsFile(const QString& path);

std::unique_ptr<app::TMainForm> MakeMainForm(const QString& settingsPath,
                                             const QStringList& arguments = {});

}  // namespace kelvora::testing
