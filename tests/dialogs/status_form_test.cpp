#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QtTest>
#include <functional>

#include "dialogs/StatusForm.h"
#include "support/WindowTest.h"
#include "transfer/Progress.h"

using kelvora::dialogs::TStatusForm;

class StatusFormTest : public kelvora::testing::WindowTest {
  Q_OBJECT

 private Q_SLOTS:
  void init() {
    main_ = std::make_unique<QWidget>();
    main_->setGeometry(40, 40, 600, 400);
    main_->show();
    status_ = new TStatusForm(main_.get());
  }
  void cleanup() { main_.reset(); }

  void labelShowsSecondsOrMinutes() {
    const struct {
      float seconds;
      const char* text;
    } cases[] = {{59.9f, "Time left : 59 sec"},       {60.0f, "Time left : 1:00"},
                 {3725.0f, "Time left : 62:05"},      {125.0f, "Time left : 2:05"},
                 {0.4f, "Time left : 0 sec"},         {-3.0f, "Time left : 0 sec"},
                 {1.0e12f, "Time left : 16666666:40"}};
    status_->ShowProgress();
    for (const auto& c : cases) {
      status_->UpdateProgress(c.seconds, 50);
      QCOMPARE(status_->TimeLabel()->text(), QString(c.text));
    }
  }

  void showProgressStartsFresh() {
    status_->ShowProgress();
    status_->UpdateProgress(30, 55);
    status_->CancelButton()->click();
    status_->HideProgress();
    status_->ShowProgress();
    QCOMPARE(status_->TimeLabel()->text(), QString("Time left : ???"));
    QCOMPARE(status_->ProgressBar()->value(), 0);
    QVERIFY(!status_->Cancelled());
  }

  void barStaysWithinItsRange() {
    status_->ShowProgress();
    status_->UpdateProgress(1, 102.5f);
    QCOMPARE(status_->ProgressBar()->value(), 100);
    status_->UpdateProgress(1, 37.9f);
    QCOMPARE(status_->ProgressBar()->value(), 37);
  }

  void everyWayToCloseOnlyAsksToCancel() {
    const std::function<void()> ways[] = {
        [this] { QTest::keyClick(status_, Qt::Key_Escape); },
        [this] { QTest::keyClick(status_, Qt::Key_Return); },
        [this] { status_->close(); },
        [this] { QTest::mouseClick(status_->CancelButton(), Qt::LeftButton); },
    };
    for (const auto& way : ways) {
      status_->ShowProgress();
      QVERIFY(QTest::qWaitForWindowExposed(status_));
      way();
      QVERIFY(status_->Cancelled());
      QVERIFY(status_->isVisible());
      QVERIFY(!main_->isEnabled());
    }
  }

  void mainWindowIsDisabledOnlyWhileShown() {
    status_->SetCaption("Downloading...");
    status_->ShowProgress();
    QVERIFY(status_->isVisible());
    QCOMPARE(status_->windowTitle(), QString("Downloading..."));
    QVERIFY(!status_->isModal());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QVERIFY(!main_->isEnabled());
    QVERIFY(status_->CancelButton()->isEnabled());
    status_->HideProgress();
    QVERIFY(!status_->isVisible());
    QVERIFY(main_->isEnabled());
  }

  void layoutIsTheFixedWindow() {
    status_->ShowProgress();
    QCOMPARE(status_->size(), QSize(441, 123));
    QCOMPARE(status_->TimeLabel()->width(), 105);
    QVERIFY(status_->TimeLabel()->alignment() & Qt::AlignHCenter);
    QVERIFY(status_->CancelButton()->isDefault());
    const QPoint centre = status_->screen()->availableGeometry().center();
    QVERIFY((status_->frameGeometry().center() - centre).manhattanLength() <= 2);
  }

  void firstOfTenBlocksInTwoSeconds() {
    const auto estimate = kelvora::transfer::TimeLeftEstimate(2000, 1, 10);
    QVERIFY(qAbs(estimate.secondsLeft - 18.999f) < 0.001f);
    QCOMPARE(estimate.percent, 10.0f);
    status_->ShowProgress();
    status_->UpdateProgress(estimate.secondsLeft, estimate.percent);
    QCOMPARE(status_->TimeLabel()->text(), QString("Time left : 18 sec"));
    QCOMPARE(status_->ProgressBar()->value(), 10);
  }

 private:
  std::unique_ptr<QWidget> main_;
  TStatusForm* status_ = nullptr;
};

QTEST_MAIN(StatusFormTest)
#include "status_form_test.moc"
