// The browser against the simulated sampler: what it lists in each mode, what it hands over,
// rename and delete, the choices it refuses, the no-instruments loop and the copy redirection.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>
#include <functional>

#include "dialogs/NoInstrForm.h"
#include "dialogs/OpenWaveForm.h"
#include "dialogs/RenameInstrForm.h"
#include "dialogs/WsIsCopyForm.h"
#include "support/ModalWatch.h"
#include "support/SimSession.h"
#include "support/WindowTest.h"

using kelvora::dialogs::bmDownload;
using kelvora::dialogs::bmOpen;
using kelvora::dialogs::bmUpload;
using kelvora::dialogs::SelectedLine;
using kelvora::dialogs::TNoInstrForm;
using kelvora::dialogs::TOpenWaveForm;
using kelvora::dialogs::TRenameInstrForm;
using kelvora::dialogs::TWsIsCopyForm;
using kelvora::testing::FocusAndWait;
using kelvora::testing::ModalWatch;
using kelvora::testing::SimSession;

namespace {

QStringList Lines(const QListWidget* box) {
  QStringList lines;
  for (int k = 0; k < box->count(); ++k) lines << box->item(k)->text();
  return lines;
}

// Instruments 2 and 5 (indices 1 and 4): "Piano" with wavesamples 1 and 2, "Bass 1" with 3.
struct Browser {
  SimSession session;
  TOpenWaveForm form{*session.eps};

  Browser() {
    session.AddInstrument(1, "PIANO");
    session.AddLayer(1, 0);
    session.AddWaveSample(1, 0, 1, 600, 599);
    session.AddWaveSample(1, 0, 2, 600, 599);
    session.AddInstrument(4, "BASS 1");
    session.AddLayer(4, 0);
    session.AddWaveSample(4, 0, 3, 600, 599);
    session.Connect();
  }
  kelvora::protocol::TEps& Eps() { return *session.eps; }
  // From now on every message to the sampler takes seconds on the cable, so the output port's
  // 20-second wait for a send to finish runs out (in virtual time) and the port raises.
  void StallOutput() { session.driver->SetWireRate(1); }
};

// Runs `command` and answers the message box it shows; its caption and text ("" for none).
QString MessageOf(const std::function<void()>& command) {
  QString text;
  ModalWatch<QMessageBox> box([&](QMessageBox* shown) {
    text = shown->windowTitle() + ": " + shown->text();
    shown->accept();
  });
  command();
  return text;
}

const QString kStalled = QStringLiteral("Kelvora: error: Midiout takes too long to send data");

}  // namespace

class BrowserDialogTest : public kelvora::testing::WindowTest {
  Q_OBJECT

 private Q_SLOTS:
  void openModeListsTheLoadedInstrumentsAndHandsOverTheChoice() {
    Browser b;
    QStringList instruments;
    QStringList waveSamples;
    QString caption;
    ModalWatch<TOpenWaveForm> browser([&](TOpenWaveForm* form) {
      caption = form->windowTitle();
      instruments = Lines(form->InstrumentListBox);
      form->InstrumentListBox->setCurrentRow(1);  // (5) Bass 1
      waveSamples = Lines(form->WaveSampleListBox);
      form->OkButton->click();
    });
    QCOMPARE(b.form.Execute(bmOpen), 1);
    QCOMPARE(caption, QString("Open Wavesample"));
    QCOMPARE(instruments, QStringList({"(2) Piano", "(5) Bass 1"}));
    QCOMPARE(waveSamples, QStringList({"WaveSample 3"}));
    QCOMPARE(b.Eps().Instrument, 4);
    QCOMPARE(b.Eps().WaveSample, 3);
    QCOMPARE(b.Eps().Layer, 0);
  }

  void theCurrentWavesampleIsSelectedAtTheStart() {
    Browser b;
    b.Eps().Instrument = 1;
    b.Eps().WaveSample = 2;
    int instrumentLine = -1;
    int waveSampleLine = -1;
    ModalWatch<TOpenWaveForm> browser([&](TOpenWaveForm* form) {
      instrumentLine = SelectedLine(form->InstrumentListBox);
      waveSampleLine = SelectedLine(form->WaveSampleListBox);
      form->reject();
    });
    QCOMPARE(b.form.Execute(bmDownload), 2);
    QCOMPARE(b.form.windowTitle(), QString("Download Wavesample"));
    QCOMPARE(instrumentLine, 0);
    QCOMPARE(waveSampleLine, 1);
    QCOMPARE(b.Eps().WaveSample, 2);  // cancel hands over nothing
  }

  void uploadModeOffersNewLines() {
    Browser b;
    b.Eps().Instrument = 1;
    b.Eps().WaveSample = 2;
    QStringList instruments;
    QStringList waveSamples;
    bool renameOnNew = true;
    bool deleteOnNew = true;
    ModalWatch<TOpenWaveForm> browser([&](TOpenWaveForm* form) {
      instruments = Lines(form->InstrumentListBox);
      waveSamples = Lines(form->WaveSampleListBox);
      QCOMPARE(SelectedLine(form->WaveSampleListBox), 0);  // "<new>" although 2 is listed
      QVERIFY(!form->DeleteWsMenuItem->isEnabled());
      form->OkButton->click();
    });
    QCOMPARE(b.form.Execute(bmUpload), 1);
    QCOMPARE(instruments.size(), 8);
    QCOMPARE(instruments[1], QString("(2) Piano"));
    for (int k : {0, 2, 3, 5, 6, 7}) QVERIFY(instruments[k].endsWith(") <new>"));
    QCOMPARE(waveSamples, QStringList({"<new>", "WaveSample 1", "WaveSample 2"}));
    QCOMPARE(b.Eps().Instrument, 1);
    QCOMPARE(b.Eps().WaveSample, 3);  // the first free slot

    ModalWatch<TOpenWaveForm> onNewInstrument([&](TOpenWaveForm* form) {
      form->InstrumentListBox->setCurrentRow(0);  // (1) <new>
      renameOnNew = form->RenameMenuItem->isEnabled();
      deleteOnNew = form->DeleteInsMenuItem->isEnabled();
      form->OkButton->click();
    });
    QCOMPARE(b.form.Execute(bmUpload), 1);
    QVERIFY(!renameOnNew);
    QVERIFY(!deleteOnNew);
    QCOMPARE(b.Eps().Instrument, 0);
    QCOMPARE(b.Eps().WaveSample, 1);
  }

  void deletingTheCurrentInstrumentSelectsTheFirstLine() {
    Browser b;
    b.Eps().Instrument = 4;
    QStringList after;
    int selected = -1;
    ModalWatch<TOpenWaveForm> browser([&](TOpenWaveForm* form) {
      QCOMPARE(SelectedLine(form->InstrumentListBox), 1);
      form->DeleteInsMenuItem->trigger();
      after = Lines(form->InstrumentListBox);
      selected = SelectedLine(form->InstrumentListBox);
      form->reject();
    });
    b.form.Execute(bmOpen);
    QCOMPARE(after, QStringList({"(2) Piano"}));
    QCOMPARE(selected, 0);
    QCOMPARE(b.session.InstrumentName(4), std::string());
  }

  void deletingAWavesampleDeletesItFromTheListedInstrument() {
    Browser b;
    QStringList after;
    ModalWatch<TOpenWaveForm> browser([&](TOpenWaveForm* form) {
      form->InstrumentListBox->setCurrentRow(0);
      form->WaveSampleListBox->setCurrentRow(1);  // WaveSample 2 of Piano
      form->DeleteWsMenuItem->trigger();
      form->InstrumentListBox->setCurrentRow(0);
      after = Lines(form->WaveSampleListBox);
      form->reject();
    });
    b.form.Execute(bmOpen);
    QCOMPARE(after, QStringList({"WaveSample 1"}));
    QVERIFY(!b.session.HasWaveSample(1, 2));
    QVERIFY(b.session.HasWaveSample(1, 1));
    QVERIFY(b.session.HasWaveSample(4, 3));
  }

  void renameSendsTheNewNameAndListsItAgain() {
    Browser b;
    QString offered;
    QString after;
    ModalWatch<TOpenWaveForm> browser([&](TOpenWaveForm* form) {
      form->InstrumentListBox->setCurrentRow(1);
      ModalWatch<TRenameInstrForm> renamer([&](TRenameInstrForm* rename) {
        offered = rename->NameEdit->text();
        QCOMPARE(rename->NameEdit->selectedText(), offered);
        rename->NameEdit->setText("bass 2");
        rename->OkButton->click();
      });
      form->RenameMenuItem->trigger();
      after = form->InstrumentListBox->item(1)->text();
      form->reject();
    });
    b.form.Execute(bmOpen);
    QCOMPARE(offered, QString("Bass 1"));
    QCOMPARE(after, QString("(5) Bass 2"));
    QCOMPARE(b.session.InstrumentName(4), std::string("Bass 2"));
  }

  void anInstrumentWithoutWavesamplesCannotBeOpened() {
    Browser b;
    b.session.AddInstrument(6, "EMPTY");
    bool okEnabled = true;
    bool stillOpen = false;
    ModalWatch<TOpenWaveForm> browser([&](TOpenWaveForm* form) {
      form->InstrumentListBox->setCurrentRow(2);  // (7) Empty
      QCOMPARE(form->WaveSampleListBox->count(), 0);
      okEnabled = form->OkButton->isEnabled();
      form->accept();  // Enter, or a double click on the instrument
      stillOpen = form->isVisible();
      form->reject();
    });
    QCOMPARE(b.form.Execute(bmOpen), 2);
    QVERIFY(!okEnabled);
    QVERIFY(stillOpen);
  }

  void theNewLineOfAFullInstrumentIsRefused() {
    Browser b;
    b.session.AddInstrument(0, "FULL");
    b.session.AddLayer(0, 0);
    for (int w = 1; w <= 127; ++w) b.session.AddWaveSample(0, 0, w, 16, 15);
    b.Eps().Instrument = 0;
    bool okEnabled = true;
    bool stillOpen = false;
    ModalWatch<TOpenWaveForm> browser([&](TOpenWaveForm* form) {
      QCOMPARE(form->WaveSampleListBox->count(), 128);
      QCOMPARE(form->WaveSampleEntries[0].Number, -1);
      okEnabled = form->OkButton->isEnabled();
      Q_EMIT form->WaveSampleListBox->itemDoubleClicked(form->WaveSampleListBox->item(0));
      stillOpen = form->isVisible();
      form->WaveSampleListBox->setCurrentRow(127);
      QVERIFY(form->OkButton->isEnabled());
      Q_EMIT form->WaveSampleListBox->itemDoubleClicked(form->WaveSampleListBox->item(127));
    });
    QCOMPARE(b.form.Execute(bmUpload), 1);
    QVERIFY(!okEnabled);
    QVERIFY(stillOpen);
    QCOMPARE(b.Eps().WaveSample, 127);
  }

  void aRightButtonPressOnAnInstrumentRefillsTheWavesamples() {
    Browser b;
    QStringList waveSamples;
    int selected = -1;
    ModalWatch<TOpenWaveForm> browser([&](TOpenWaveForm* form) {
      QListWidget* box = form->InstrumentListBox;
      const QPoint onBass = box->visualItemRect(box->item(1)).center();
      Q_EMIT box->customContextMenuRequested(onBass);
      form->InstrumentPopupMenu->hide();
      selected = SelectedLine(box);
      waveSamples = Lines(form->WaveSampleListBox);
      form->OkButton->click();
    });
    QCOMPARE(b.form.Execute(bmOpen), 1);
    QCOMPARE(selected, 1);
    QCOMPARE(waveSamples, QStringList({"WaveSample 3"}));
    QCOMPARE(b.Eps().Instrument, 4);  // OK pairs the wavesample with its own instrument
  }

  void aDoubleClickChooses() {
    Browser b;
    ModalWatch<TOpenWaveForm> browser([&](TOpenWaveForm* form) {
      form->WaveSampleListBox->setCurrentRow(1);
      Q_EMIT form->WaveSampleListBox->itemDoubleClicked(form->WaveSampleListBox->item(1));
    });
    QCOMPARE(b.form.Execute(bmOpen), 1);
    QCOMPARE(b.Eps().Instrument, 1);
    QCOMPARE(b.Eps().WaveSample, 2);
  }

  void cancelInTheNoInstrumentsDialogNeverShowsTheBrowser() {
    SimSession session;
    session.Connect();
    TOpenWaveForm form(*session.eps);
    ModalWatch<TNoInstrForm> asked([](TNoInstrForm* dialog) { dialog->CancelButton->click(); });
    ModalWatch<TOpenWaveForm> browserShown([](TOpenWaveForm* browser) { browser->reject(); });
    QCOMPARE(form.Execute(bmOpen), 2);
    QCOMPARE(asked.Seen(), 1);
    QCOMPARE(browserShown.Seen(), 0);
  }

  void continueReadsTheSamplerAgain() {
    SimSession session;
    session.Connect();
    TOpenWaveForm form(*session.eps);
    int asked = 0;
    ModalWatch<TNoInstrForm> noInstr(
        [&](TNoInstrForm* dialog) {
          if (++asked == 2) {
            session.AddInstrument(3, "LATE");
            session.AddLayer(3, 0);
            session.AddWaveSample(3, 0, 5, 600, 599);
          }
          dialog->ContinueButton->click();
        },
        2);
    ModalWatch<TOpenWaveForm> browser([](TOpenWaveForm* shown) { shown->OkButton->click(); });
    QCOMPARE(form.Execute(bmOpen), 1);
    QCOMPARE(asked, 2);
    QCOMPARE(session.eps->Instrument, 3);
    QCOMPARE(session.eps->WaveSample, 5);
  }

  void aRefreshThatFindsNothingAndIsCancelledClosesTheBrowser() {
    Browser b;
    bool closedByCancel = false;
    ModalWatch<TOpenWaveForm> browser([&](TOpenWaveForm* form) {
      b.session.RemoveInstrument(1);
      b.session.RemoveInstrument(4);
      ModalWatch<TNoInstrForm> noInstr([](TNoInstrForm* dialog) { dialog->CancelButton->click(); });
      form->Refresh1->trigger();
      closedByCancel = !form->isVisible();
      if (!closedByCancel) form->reject();
    });
    QCOMPARE(b.form.Execute(bmOpen), 2);
    QVERIFY(closedByCancel);
  }

  void aCopyIsRedirectedToItsSourceOnYes() {
    SimSession session;
    session.AddInstrument(0, "SYNTH");
    session.AddLayer(0, 0);
    session.AddWaveSample(0, 0, 1, 1000, 999);
    session.AddParameterCopy(0, 0, 3, 1);
    session.Connect();
    session.eps->ReadConfig();
    session.eps->Instrument = 0;
    session.eps->WaveSample = 3;
    TWsIsCopyForm copyForm;
    QString sourceLine;
    QString question;
    ModalWatch<TWsIsCopyForm> refuse([&](TWsIsCopyForm* dialog) {
      sourceLine = dialog->SourceLabel->text();
      question = dialog->QuestionLabel->text();
      dialog->NoButton->click();
    });
    QCOMPARE(kelvora::dialogs::OpenWithCopyRedirect(*session.eps, copyForm), 2);
    QCOMPARE(sourceLine, QString("parameters-only copy of wavesample #1."));
    QCOMPARE(question, QString("Do you want to edit wavesample #1 instead ?"));
    QVERIFY(!session.eps->WsOpen);
    QCOMPARE(session.eps->WaveSample, 3);

    ModalWatch<TWsIsCopyForm> accept([](TWsIsCopyForm* dialog) { dialog->YesButton->click(); });
    QCOMPARE(kelvora::dialogs::OpenWithCopyRedirect(*session.eps, copyForm), 1);
    QVERIFY(session.eps->WsOpen);
    QCOMPARE(session.eps->WaveSample, 1);
    QCOMPARE(session.eps->WsLast, 999);
  }

  void aPortFailureInTheBrowsersCommandsIsShownAndTheBrowserStaysOpen() {
    Browser b;
    b.Eps().Instrument = 1;
    b.Eps().WaveSample = 2;
    QStringList messages;
    bool stillOpen = false;
    QStringList instruments;
    ModalWatch<TOpenWaveForm> browser([&](TOpenWaveForm* form) {
      b.StallOutput();
      ModalWatch<TRenameInstrForm> renamer([](TRenameInstrForm* rename) {
        rename->NameEdit->setText("strings");
        rename->OkButton->click();
      });
      messages << MessageOf([&] { form->RenameMenuItem->trigger(); });
      messages << MessageOf([&] { form->DeleteInsMenuItem->trigger(); });
      messages << MessageOf([&] { form->DeleteWsMenuItem->trigger(); });
      messages << MessageOf([&] { form->Refresh1->trigger(); });
      stillOpen = form->isVisible();
      instruments = Lines(form->InstrumentListBox);
      form->CancelButton->click();
    });
    QCOMPARE(b.form.Execute(bmOpen), 2);
    QCOMPARE(messages, QStringList({kStalled, kStalled, kStalled, kStalled}));
    QVERIFY(stillOpen);
    QCOMPARE(instruments, QStringList({"(2) Piano", "(5) Bass 1"}));
    // The configuration read that failed half-way leaves the session's choice as it was.
    QCOMPARE(b.Eps().Instrument, 1);
    QCOMPARE(b.Eps().WaveSample, 2);
  }

  void theKeysActOnTheFocusedListAndF5RefreshesFromAnywhere() {
    Browser b;
    QStringList afterF5;
    QString offered;
    QStringList afterDelete;
    ModalWatch<TOpenWaveForm> browser([&](TOpenWaveForm* form) {
      form->activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(form));
      b.session.AddInstrument(6, "LATE");
      QVERIFY(FocusAndWait(form->InstrumentListBox));
      QTest::keyClick(form->InstrumentListBox, Qt::Key_F5);
      afterF5 = Lines(form->InstrumentListBox);
      form->InstrumentListBox->setCurrentRow(1);  // (5) Bass 1
      ModalWatch<TRenameInstrForm> renamer([&](TRenameInstrForm* rename) {
        offered = rename->NameEdit->text();
        rename->CancelButton->click();
      });
      QTest::keyClick(form->InstrumentListBox, Qt::Key_F2);
      form->activateWindow();  // back from the rename dialog
      QVERIFY(QTest::qWaitForWindowActive(form));
      form->InstrumentListBox->setCurrentRow(0);
      form->WaveSampleListBox->setCurrentRow(0);  // WaveSample 1 of Piano
      QVERIFY(FocusAndWait(form->WaveSampleListBox));
      QTest::keyClick(form->WaveSampleListBox, Qt::Key_Delete);
      form->InstrumentListBox->setCurrentRow(0);
      afterDelete = Lines(form->WaveSampleListBox);
      form->reject();
    });
    QCOMPARE(b.form.Execute(bmOpen), 2);
    QCOMPARE(afterF5, QStringList({"(2) Piano", "(5) Bass 1", "(7) Late"}));
    QCOMPARE(offered, QString("Bass 1"));
    QCOMPARE(afterDelete, QStringList({"WaveSample 2"}));
    QVERIFY(b.session.HasWaveSample(1, 2));
  }

  void theRenameDialogKeepsTwelveCharacters() {
    TRenameInstrForm rename;
    ModalWatch<TRenameInstrForm> typing([](TRenameInstrForm* dialog) {
      dialog->NameEdit->clear();
      QTest::keyClicks(dialog->NameEdit, "abcdefghijklmnop");
      dialog->OkButton->click();
    });
    QCOMPARE(rename.Execute("Old"), 1);
    QCOMPARE(rename.NewName(), QString("abcdefghijkl"));
    ModalWatch<TRenameInstrForm> cancelling([](TRenameInstrForm* dialog) {
      dialog->NameEdit->setText("ignored");
      dialog->CancelButton->click();
    });
    QCOMPARE(rename.Execute("Old"), 2);
    QCOMPARE(rename.NewName(), QString("abcdefghijkl"));
  }
};

QTEST_MAIN(BrowserDialogTest)
#include "browser_dialog_test.moc"
