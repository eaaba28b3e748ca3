#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "dialogs/HelpLink.h"
#include "dialogs/NoEpsForm.h"
#include "support/WhenModal.h"
#include "support/WindowTest.h"

using kelvora::dialogs::TNoEpsForm;
using kelvora::testing::WhenModal;
namespace protocol = kelvora::protocol;

namespace {

QStringList Lines(const TNoEpsForm& form) {
  return {form.Error1Label->text(), form.Error2Label->text(), form.Info1Label->text(),
          form.Info2Label->text(),  form.Info3Label->text(),  form.Info4Label->text(),
          form.Info5Label->text()};
}

// Shows the form for reason and presses OK; returns whether Retry was offered.
bool ShowAndPressOk(TNoEpsForm& form, protocol::TNoEpsReason reason) {
  bool retryShown = false;
  WhenModal<TNoEpsForm>([&](TNoEpsForm* shown) {
    retryShown = shown->RetryButton->isVisible();
    shown->OkButton->click();
  });
  const int result = form.Execute(reason);
  return result == protocol::mrOk && retryShown;
}

}  // namespace

class NoEpsTest : public kelvora::testing::WindowTest {
  Q_OBJECT

 private Q_SLOTS:
  void wordingPerReason_data() {
    QTest::addColumn<int>("reason");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("retry");
    QTest::newRow("midi in") << int(protocol::nrMidiInFailed) << "Unable to open Midi-in device"
                             << QStringList{"Kelvora failed to open the",
                                            "Midi input device",
                                            "",
                                            "Please make sure you've configured",
                                            "the Midi input device in the Preferences",
                                            "dialog",
                                            ""}
                             << false;
    QTest::newRow("midi out") << int(protocol::nrMidiOutFailed) << "Unable to open Midi-out device"
                              << QStringList{"Kelvora failed to open the",
                                             "Midi output device",
                                             "",
                                             "Please make sure you've configured",
                                             "the Midi output device in the Preferences",
                                             "dialog",
                                             ""}
                              << false;
    QTest::newRow("no answer") << int(protocol::nrNoAnswer) << "Unable to find EPS/ASR"
                               << QStringList{"Kelvora failed to make a",
                                              "connection to your EPS/ASR",
                                              "To solve this problem please check the following :",
                                              "    * Midi Device in Preferences dialog",
                                              "    * Channel in Preferences dialog",
                                              "    * EPS/ASR system parameters",
                                              "    * Midi cabling"}
                               << true;
    QTest::newRow("no system") << int(protocol::nrNoSystem) << "Unable to find EPS/ASR"
                               << QStringList{"Kelvora failed to make a",
                                              "connection to your EPS/ASR",
                                              "",
                                              "Make sure the system disk is",
                                              "inserted into your EPS/ASR",
                                              "",
                                              ""}
                               << true;
  }

  void wordingPerReason() {
    QFETCH(int, reason);
    QFETCH(QString, caption);
    QFETCH(QStringList, lines);
    QFETCH(bool, retry);
    TNoEpsForm form;
    QStringList shownLines;
    QString shownCaption;
    bool retryShown = !retry;
    QWidget* focus = nullptr;
    WhenModal<TNoEpsForm>([&](TNoEpsForm* shown) {
      shownLines = Lines(*shown);
      shownCaption = shown->windowTitle();
      retryShown = shown->RetryButton->isVisible();
      focus = shown->focusWidget();
      shown->OkButton->click();
    });
    QCOMPARE(form.Execute(static_cast<protocol::TNoEpsReason>(reason)), int(protocol::mrOk));
    QCOMPARE(shownCaption, caption);
    QCOMPARE(shownLines, lines);
    QCOMPARE(retryShown, retry);
    QCOMPARE(focus, static_cast<QWidget*>(form.OkButton));
  }

  // Nothing of an earlier wording may remain on the next showing.
  void laterReasonReplacesEarlierWording() {
    TNoEpsForm form;
    QVERIFY(ShowAndPressOk(form, protocol::nrNoAnswer));
    QVERIFY(!ShowAndPressOk(form, protocol::nrMidiOutFailed));
    QCOMPARE(form.Info1Label->text(), QString());
    QCOMPARE(form.Info5Label->text(), QString());
    QCOMPARE(form.windowTitle(), QString("Unable to open Midi-out device"));
  }

  void retryAndClosingGiveTheirResults() {
    TNoEpsForm form;
    WhenModal<TNoEpsForm>([](TNoEpsForm* shown) { shown->RetryButton->click(); });
    QCOMPARE(form.Execute(protocol::nrNoAnswer), int(protocol::mrRetry));
    WhenModal<TNoEpsForm>([](TNoEpsForm* shown) { shown->close(); });
    QCOMPARE(form.Execute(protocol::nrNoSystem), int(protocol::mrCancel));
  }

  void helpOpensTopicThreeAndKeepsTheDialog() {
    std::vector<int> topics;
    kelvora::dialogs::SetHelpHandler([&](int context) { topics.push_back(context); });
    TNoEpsForm form;
    bool stillOpen = false;
    WhenModal<TNoEpsForm>([&](TNoEpsForm* shown) {
      shown->HelpButton->click();
      QTest::keyClick(shown, Qt::Key_F1);
      stillOpen = shown->isVisible();
      shown->OkButton->click();
    });
    form.Execute(protocol::nrNoAnswer);
    kelvora::dialogs::SetHelpHandler(nullptr);
    QVERIFY(stillOpen);
    QCOMPARE(topics, (std::vector<int>{3, 3}));
  }
};

QTEST_MAIN(NoEpsTest)
#include "noeps_test.moc"
