#include <QAction>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "app/CommandTable.h"
#include "app/MainForms.h"
#include "app/StartupPlan.h"
#include "controls/MidiInComboBox.h"
#include "controls/MidiOutComboBox.h"
#include "dialogs/GotoPrefForm.h"
#include "dialogs/PreferencesForm.h"
#include "protocol/Eps.h"
#include "support/MainWindowTest.h"
#include "support/WhenModal.h"

using namespace kelvora::app;
using kelvora::dialogs::TGotoPrefForm;
using kelvora::dialogs::TPreferencesForm;
using kelvora::testing::FreshSettings;
using kelvora::testing::MakeMainForm;
using kelvora::testing::WhenModal;
namespace diagnostics = kelvora::diagnostics;

class StartupTest : public kelvora::testing::WindowTest {
  Q_OBJECT

 private Q_SLOTS:
  void debugMediumComesFromTheFirstArgumentOnly() {
    QCOMPARE(DebugMediaFromArguments({}), diagnostics::dmNull);
    QCOMPARE(DebugMediaFromArguments({"/DF"}), diagnostics::dmFile);
    QCOMPARE(DebugMediaFromArguments({"/df"}), diagnostics::dmFile);
    QCOMPARE(DebugMediaFromArguments({"/dW"}), diagnostics::dmWindow);
    QCOMPARE(DebugMediaFromArguments({"/Ds"}), diagnostics::dmSerial);
    QCOMPARE(DebugMediaFromArguments({"/XYZ"}), diagnostics::dmNull);
    QCOMPARE(DebugMediaFromArguments({"a.wav", "/DF"}), diagnostics::dmNull);
  }

  // Absolute file names begin with "/" here, like the switches; an existing "/dev" is a switch.
  void switchesAreToldFromAbsoluteFileNames() {
    for (const char* option : {"/DF", "/df", "/DEL", "/XYZ", "/dev", "/"}) {
      QVERIFY2(IsSwitch(option), option);
    }
    for (const char* file : {"/tmp/a.wav", "a.wav", "sounds/a.wav", "", "/dev/null"}) {
      QVERIFY2(!IsSwitch(file), file);
    }
    QVERIFY(!IsSwitch(QCoreApplication::applicationFilePath()));
  }

  void whatStartUpShows() {
    StartupPlan plan = PlanStartup(true, {"a.wav"});
    QVERIFY(plan.showMainWindow && plan.postGotoPref && !plan.postAutoUpload);
    plan = PlanStartup(false, {"a.wav", "/DEL"});
    QVERIFY(!plan.showMainWindow && !plan.postGotoPref && plan.postAutoUpload);
    plan = PlanStartup(false, {"/DEL", "a.wav"});
    QVERIFY(plan.showMainWindow && !plan.postAutoUpload);
    plan = PlanStartup(false, {"/home/user/a.wav"});
    QVERIFY(!plan.showMainWindow && plan.postAutoUpload);
    plan = PlanStartup(false, {"/dev", "a.wav"});
    QVERIFY(plan.showMainWindow && !plan.postAutoUpload);
    plan = PlanStartup(false, {});
    QVERIFY(plan.showMainWindow && !plan.postGotoPref && !plan.postAutoUpload);
  }

  void firstRunWithAFileShowsTheWelcomeAndNoTransfer() {
    kelvora::testing::NoHardwareMachine machine;
    bool welcomed = false, mainVisible = false;
    WhenModal<TGotoPrefForm>([&](TGotoPrefForm* welcome) {
      welcomed = true;
      mainVisible = welcome->parentWidget()->isVisible();
      welcome->close();
    });
    auto form = MakeMainForm(FreshSettings(false), {"/tmp/a.wav"});
    QSignalSpy autoUploads(form->Commands().Action(Cmd::AutoUpload), &QAction::triggered);
    QTRY_VERIFY(welcomed);
    QVERIFY(mainVisible);
    kelvora::testing::RunEvents(50);
    QCOMPARE(autoUploads.count(), 0);
  }

  void namedFileRunsTheUnattendedUploadWithTheWindowHidden() {
    kelvora::testing::NoHardwareMachine machine;
    auto form = MakeMainForm(FreshSettings(), {"/tmp/a.wav"});
    int runs = 0;
    form->Commands().SetHandler(Cmd::AutoUpload, [&] { ++runs; });
    QTRY_COMPARE(runs, 1);
    QVERIFY(!form->isVisible());
    kelvora::testing::RunEvents(20);
    QCOMPARE(runs, 1);
  }

  void switchesOpenTheWindowNormally() {
    kelvora::testing::NoHardwareMachine machine;
    for (const QStringList& arguments : {QStringList{"/XYZ"}, QStringList{"/df", "a.wav"}}) {
      auto form = MakeMainForm(FreshSettings(), arguments);
      int runs = 0;
      form->Commands().SetHandler(Cmd::AutoUpload, [&] { ++runs; });
      kelvora::testing::RunEvents(20);
      QVERIFY(form->isVisible());
      QCOMPARE(runs, 0);
    }
    diagnostics::TDebugDevice debug;
    debug.Close();
    debug.SetMedia(diagnostics::dmNull);
  }

  // The first start on a machine without MIDI hardware: welcome, then Preferences with the
  // simulated sampler chosen, then a command that needs the sampler finds it.
  void firstStartLeadsToPreferencesOnceAndFindsTheSampler() {
    kelvora::testing::NoHardwareMachine machine;
    int preferencesShown = 0;
    bool welcomeGone = false;
    QString input, output;
    WhenModal<TGotoPrefForm>([&](TGotoPrefForm* welcome) {
      WhenModal<TPreferencesForm>([&, welcome](TPreferencesForm* prefs) {
        ++preferencesShown;
        welcomeGone = !welcome->isVisible();
        input = prefs->MidiInComboBox->currentText();
        output = prefs->MidiOutComboBox->currentText();
        prefs->OkButton->click();
      });
      welcome->Button1->click();
    });
    auto form = MakeMainForm(FreshSettings(false));
    QTRY_COMPARE(preferencesShown, 1);
    kelvora::testing::RunEvents(100);
    QCOMPARE(preferencesShown, 1);
    QVERIFY(welcomeGone);
    QCOMPARE(input, QString("Simulated EPS-16 PLUS"));
    QCOMPARE(output, QString("Simulated EPS-16 PLUS"));
    QVERIFY(form->Eps().OpenDevices());
  }
};

QTEST_MAIN(StartupTest)
#include "app_startup_test.moc"
