#include "AppTestSupport.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTest>
#include <atomic>

#include "midi/MidiSystem.h"

namespace kelvora::testing {

NoHardwareMachine::NoHardwareMachine()
    : sampler_(std::make_unique<sim::SimMidiDriver>()),
      devices_(std::make_unique<midi::DeviceList>(
          std::vector<midi::MidiDriver*>{&hardware_, sampler_.get()})) {
  midi::SetDriver(devices_.get());
}

NoHardwareMachine::~NoHardwareMachine() { midi::SetDriver(nullptr); }

QString FreshSettings(bool started) {
  static std::atomic<int> counter{0};
  const QString path =
      ScratchFolder() + QString("/settings-%1/Kelvora.ini").arg(counter.fetch_add(1));
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile::remove(path);
  if (started) {
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue("FirstRunDone", "1");
  }
  return path;
}

QString ReadSettingsFile(const QString& path) {
  QFile file(path);
  file.open(QIODevice::ReadOnly);
  return QString::fromUtf8(file.readAll());
}

std::unique_ptr<app::TMainForm> MakeMainForm(const QString& settingsPath,
                                             const QStringList& arguments) {
  return std::make_unique<app::TMainForm>(app::TMainForm::Options{arguments, settingsPath});
}

bool ShowMainWindow(std::unique_ptr<NoHardwareMachine>& machine,
                    std::unique_ptr<app::TMainForm>& form, int width, int height) {
  machine = std::make_unique<NoHardwareMachine>();
  form = MakeMainForm(FreshSettings());
  form->showNormal();
  form->setGeometry(20, 20, width, height);
  return QTest::qWaitForWindowExposed(form.get());
}

void CloseMainWindow(std::unique_ptr<NoHardwareMachine>& machine,
                     std::unique_ptr<app::TMainForm>& form) {
  form.reset();
  machine.reset();
}

void RunEvents(int ms) { QTest::qWait(ms); }

}  // namespace kelvora::testing
