#include "support/MainWindowTest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTest>
#include <atomic>

#include "support/TempFolder.h"

namespace kelvora::testing {

bool MainWindowTest::ShowMainWindow(int width, int height, const sim::SimOptions& options) {
  machine_ = std::make_unique<NoHardwareMachine>(options);
  form_ = MakeMainForm(FreshSettings());
  form_->showNormal();
  form_->setGeometry(20, 20, width, height);
  return QTest::qWaitForWindowExposed(form_.get());
}

void MainWindowTest::CloseMainWindow() {
  form_.reset();
  machine_.reset();
}

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

}  // namespace kelvora::testing
