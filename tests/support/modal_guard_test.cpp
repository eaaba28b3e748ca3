// The window tests' guard against a modal window nobody answers: it ends such a window and
// reports it by class, title and text, and leaves alone the dialogs a test answers and the
// modal windows that block nothing.
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>
#include <QtTest>
#include <chrono>

#include "support/ModalGuard.h"
#include "support/WhenModal.h"
#include "support/WindowTest.h"

using kelvora::testing::ModalGuard;
using kelvora::testing::WhenModal;

namespace {

// Short, so that an unanswered window costs the test little.
constexpr std::chrono::milliseconds kGrace{300};

}  // namespace

class ModalGuardTest : public kelvora::testing::WindowTest {
  Q_OBJECT

 private Q_SLOTS:
  void anUnansweredMessageBoxIsClosedAndNamed() {
    QStringList reports;
    ModalGuard guard(kGrace, [&](const QString& message) { reports << message; });
    QMessageBox box(QMessageBox::Warning, "Kelvora", "Nobody reads this", QMessageBox::Ok);
    box.exec();
    QCOMPARE(reports.size(), 1);
    QVERIFY2(reports[0].contains("QMessageBox \"Kelvora\" saying \"Nobody reads this\""),
             qPrintable(reports[0]));
    QVERIFY(!box.isVisible());
  }

  void aDialogIsNamedByItsClassTitleAndLabels() {
    QDialog dialog;
    dialog.setWindowTitle("Rename");
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel("New name:"));
    layout->addWidget(new QLabel("12 characters at most"));
    auto* hidden = new QLabel("not shown");
    layout->addWidget(hidden);
    hidden->hide();
    QStringList reports;
    ModalGuard guard(kGrace, [&](const QString& message) { reports << message; });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QCOMPARE(reports.size(), 1);
    QVERIFY2(reports[0].endsWith("QDialog \"Rename\" saying \"New name: / 12 characters at most\""),
             qPrintable(reports[0]));
  }

  void aDialogTheTestAnswersIsNotReported() {
    QStringList reports;
    ModalGuard guard(kGrace, [&](const QString& message) { reports << message; });
    QDialog dialog;
    WhenModal<QDialog>([](QDialog* shown) { shown->accept(); });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    kelvora::testing::RunEvents(2 * kGrace.count());
    QVERIFY(reports.isEmpty());
  }

  // A modal window the test shows itself and looks at while waiting blocks nothing.
  void aModalWindowThatBlocksNothingIsLeftOpen() {
    QStringList reports;
    ModalGuard guard(kGrace, [&](const QString& message) { reports << message; });
    QDialog dialog;
    dialog.setModal(true);
    dialog.show();
    kelvora::testing::RunEvents(2 * kGrace.count());
    QVERIFY(dialog.isVisible());
    QVERIFY(reports.isEmpty());
  }
};

QTEST_MAIN(ModalGuardTest)
#include "modal_guard_test.moc"
