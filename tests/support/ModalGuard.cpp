#include "support/ModalGuard.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QThread>

namespace kelvora::testing {

namespace {

// Often enough that a forgotten dialog costs little more than the grace time.
constexpr std::chrono::milliseconds kCheckInterval{100};

// A dialog run by exec() keeps the test inside an event loop of its own; a modal window the test
// merely showed, with the test waiting in processEvents, blocks nothing.
bool TestIsBlocked() { return QThread::currentThread()->loopLevel() > 0; }

}  // namespace

ModalGuard::ModalGuard(std::chrono::milliseconds grace, Report report)
    : grace_(grace), report_(std::move(report)) {
  QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { Check(); });
  timer_.start(kCheckInterval);
}

QString ModalGuard::Describe(const QWidget& window) {
  QStringList said;
  if (const auto* box = qobject_cast<const QMessageBox*>(&window)) {
    said << box->text();
  } else {
    for (const QLabel* label : window.findChildren<QLabel*>()) {
      if (label->isVisible() && !label->text().isEmpty()) said << label->text();
    }
  }
  QString text = QString("%1 \"%2\"").arg(window.metaObject()->className(), window.windowTitle());
  if (!said.isEmpty()) text += QString(" saying \"%1\"").arg(said.join(" / "));
  return text;
}

void ModalGuard::FailTest(const QString& message) {
  QTest::qFail(qPrintable(message), __FILE__, __LINE__);
}

void ModalGuard::Check() {
  QWidget* modal = QApplication::activeModalWidget();
  if (modal == nullptr || !modal->isVisible() || !TestIsBlocked()) {
    watched_ = nullptr;
    return;
  }
  if (modal != watched_) {
    watched_ = modal;
    since_.start();
    return;
  }
  if (since_.elapsed() < grace_.count()) return;
  watched_ = nullptr;
  report_(QString("a modal window nobody answered for %1 s was closed: %2")
              .arg(grace_.count() / 1000.0)
              .arg(Describe(*modal)));
  if (auto* dialog = qobject_cast<QDialog*>(modal)) {
    dialog->reject();
  } else {
    modal->close();
  }
}

}  // namespace kelvora::testing
