#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QToolButton>
#include <QtTest>
#include <set>

#include "app/CommandTable.h"
#include "diagnostics/Debugdevice.h"
#include "editor/WaveView.h"
#include "support/MainWindowTest.h"
#include "support/TempFolder.h"
#include "support/WhenModal.h"

using namespace kelvora::app;
using kelvora::testing::WhenModal;

namespace {

std::set<Cmd> EnabledIn(const CommandState& state) {
  std::set<Cmd> enabled;
  for (int i = 0; i < kCommandCount; ++i) {
    const Cmd command = static_cast<Cmd>(i);
    if (IsEnabled(RowOf(command).enabling, state)) enabled.insert(command);
  }
  return enabled;
}

const std::set<Cmd> kRangeCommands = {Cmd::ClearData,    Cmd::ReverseData,  Cmd::ScaleData,
                                      Cmd::FadeIn,       Cmd::FadeOut,      Cmd::SetSampleStart,
                                      Cmd::SetSampleEnd, Cmd::SetLoopStart, Cmd::SetLoopEnd};

void CollectMenuActions(const QMenu* menu, std::set<QString>& names) {
  for (QAction* action : menu->actions()) {
    names.insert(action->objectName());
    if (action->menu()) CollectMenuActions(action->menu(), names);
  }
}

}  // namespace

class CommandsTest : public kelvora::testing::WindowTest {
  Q_OBJECT

 private Q_SLOTS:
  void tableRowsFollowTheCommandOrder() {
    std::set<QString> names;
    for (int i = 0; i < kCommandCount; ++i) {
      QCOMPARE(static_cast<int>(RowOf(static_cast<Cmd>(i)).id), i);
      names.insert(RowOf(static_cast<Cmd>(i)).name);
    }
    QCOMPARE(int(names.size()), kCommandCount);
    for (int index = 0; index <= 8; ++index) QCOMPARE(ScaleIndex(ScaleCommand(index)), index);
  }

  void nothingOpenLeavesOnlyTheAlwaysCommands() {
    const std::set<Cmd> enabled = EnabledIn(CommandState{});
    for (Cmd command : kRangeCommands) QVERIFY(!enabled.count(command));
    for (Cmd command : {Cmd::CloseWavesample, Cmd::NormalizeGain, Cmd::SetPlaybackMode, Cmd::ZoomIn,
                        Cmd::ZoomOut, Cmd::ShowAll}) {
      QVERIFY(!enabled.count(command));
    }
    for (Cmd command :
         {Cmd::OpenWavesample, Cmd::Download, Cmd::Upload, Cmd::UploadMultisample, Cmd::BackUp,
          Cmd::Restore, Cmd::Preferences, Cmd::Scale1, Cmd::Scale256, Cmd::About, Cmd::Debug}) {
      QVERIFY(enabled.count(command));
    }
  }

  void openWithoutSelection() {
    const std::set<Cmd> enabled = EnabledIn({true, false, true, false, 4});
    for (Cmd command : {Cmd::CloseWavesample, Cmd::NormalizeGain, Cmd::SetPlaybackMode}) {
      QVERIFY(enabled.count(command));
    }
    for (Cmd command : kRangeCommands) QVERIFY(!enabled.count(command));
    QVERIFY(!enabled.count(Cmd::ZoomIn));
  }

  void wholeWavesampleShownDisablesZoomOutAndShowAll() {
    const std::set<Cmd> enabled = EnabledIn({true, true, true, false, 4});
    for (Cmd command : kRangeCommands) QVERIFY(enabled.count(command));
    QVERIFY(enabled.count(Cmd::ZoomIn));
    QVERIFY(!enabled.count(Cmd::ZoomOut));
    QVERIFY(!enabled.count(Cmd::ShowAll));
  }

  void oneSamplePerPointDisablesZoomIn() {
    const std::set<Cmd> enabled = EnabledIn({true, true, true, true, 1});
    QVERIFY(!enabled.count(Cmd::ZoomIn));
    QVERIFY(enabled.count(Cmd::ZoomOut));
    QVERIFY(enabled.count(Cmd::ShowAll));
  }

  void loopOffDisablesOnlyTheLoopPoints() {
    const std::set<Cmd> enabled = EnabledIn({true, true, false, false, 4});
    QVERIFY(!enabled.count(Cmd::SetLoopStart));
    QVERIFY(!enabled.count(Cmd::SetLoopEnd));
    QVERIFY(enabled.count(Cmd::SetSampleStart));
    QVERIFY(enabled.count(Cmd::FadeOut));
  }

  void windowAppliesTheRulesToItemsAndButtons() {
    kelvora::testing::NoHardwareMachine machine;
    auto form = kelvora::testing::MakeMainForm(kelvora::testing::FreshSettings());
    CommandTable& table = form->Commands();
    table.Apply({true, true, false, true, 1});
    QVERIFY(table.Action(Cmd::ClearData)->isEnabled());
    QVERIFY(table.Button(Cmd::FadeIn)->isEnabled());
    QVERIFY(!table.Action(Cmd::SetLoopEnd)->isEnabled());
    QVERIFY(!table.Button(Cmd::SetLoopEnd)->isEnabled());
    QVERIFY(!table.Button(Cmd::ZoomIn)->isEnabled());
    QVERIFY(table.Button(Cmd::ShowAll)->isEnabled());
    form->UpdateCommands();
    QVERIFY(!table.Action(Cmd::ClearData)->isEnabled());
    QVERIFY(!table.Button(Cmd::FadeIn)->isEnabled());
    QVERIFY(!table.Button(Cmd::ShowAll)->isEnabled());
    for (int index = 0; index <= 8; ++index) {
      QVERIFY(table.Button(ScaleCommand(index))->isEnabled());
    }
  }

  void scaleItemsAndToolButtonHints() {
    kelvora::testing::NoHardwareMachine machine;
    auto form = kelvora::testing::MakeMainForm(kelvora::testing::FreshSettings());
    CommandTable& table = form->Commands();
    const char* captions[] = {"1:256", "1:128", "1:64", "1:32", "1:16", "1:8", "1:4", "1:2", "1:1"};
    for (int n = 1; n <= 9; ++n) {
      QAction* item = table.Action(ScaleCommand(9 - n));
      QCOMPARE(item->text(), QString(captions[n - 1]));
      QCOMPARE(item->shortcut(), QKeySequence(QString("Ctrl+%1").arg(n)));
      QCOMPARE(item->statusTip(), "Set vertical scale to " + QString(captions[n - 1]));
    }
    QToolButton* start = table.Button(Cmd::SetSampleStart);
    QCOMPARE(start->toolTip(), QString("Set Wavesample Start"));
    QCOMPARE(start->statusTip(), QString());
    QVERIFY(table.Button(Cmd::Scale1)->iconSize().width() <
            table.Button(Cmd::ZoomIn)->iconSize().width());
  }

  void hiddenItemsAreInNoMenuButKeepTheirShortcut() {
    kelvora::testing::NoHardwareMachine machine;
    auto form = kelvora::testing::MakeMainForm(kelvora::testing::FreshSettings());
    std::set<QString> inMenus;
    for (QAction* top : form->menuBar()->actions()) CollectMenuActions(top->menu(), inMenus);
    QVERIFY(inMenus.count("ExitMenuItem"));
    QVERIFY(inMenus.count("Scale64MenuItem"));
    for (const char* hidden : {"AutoUploadMenuItem", "GotoPrefMenuItem", "DebugMenuItem"}) {
      QVERIFY2(!inMenus.count(hidden), hidden);
    }
    QCOMPARE(form->Commands().Action(Cmd::Debug)->shortcut(), QKeySequence("Shift+F1"));
    QVERIFY(form->actions().contains(form->Commands().Action(Cmd::Debug)));
  }

  void shiftF1StartsAFileLogAndSaysSo() {
    qputenv("KELVORA_DEBUG_DIR", kelvora::testing::ScratchFolder().toUtf8());
    kelvora::testing::NoHardwareMachine machine;
    auto form = kelvora::testing::MakeMainForm(kelvora::testing::FreshSettings());
    form->showNormal();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QString title, text;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
      title = box->windowTitle();
      text = box->text();
      box->accept();
    });
    QTest::keyClick(form.get(), Qt::Key_F1, Qt::ShiftModifier);
    QTRY_COMPARE(title, QString("Thank you for pressing the debug button"));
    QCOMPARE(text, QString("Debug session has started\nData will be written to debug.txt"));
    kelvora::diagnostics::TDebugDevice debug;
    QCOMPARE(debug.Media(), kelvora::diagnostics::dmFile);
    QVERIFY(kelvora::diagnostics::TDebugDevice::SessionOpen());
    debug.Close();
    debug.SetMedia(kelvora::diagnostics::dmNull);
  }

  // A log file that cannot be created is said so, not announced as started.
  void shiftF1WithoutAWritableFolderSaysTheSessionDidNotStart() {
    const QByteArray programDir = qgetenv("KELVORA_DEBUG_DIR");
    const QByteArray stateDir = qgetenv("XDG_STATE_HOME");
    const QString scratch = kelvora::testing::ScratchFolder();
    QFile notAFolder(scratch + "/file");
    QVERIFY(notAFolder.open(QIODevice::WriteOnly));
    qputenv("KELVORA_DEBUG_DIR", (scratch + "/missing").toUtf8());
    qputenv("XDG_STATE_HOME", (scratch + "/file").toUtf8());
    kelvora::testing::NoHardwareMachine machine;
    auto form = kelvora::testing::MakeMainForm(kelvora::testing::FreshSettings());
    form->showNormal();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QString text;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
      text = box->text();
      box->accept();
    });
    QTest::keyClick(form.get(), Qt::Key_F1, Qt::ShiftModifier);
    QTRY_VERIFY(text.startsWith("The debug session could not start: Debug.txt cannot be created"));
    QVERIFY(!kelvora::diagnostics::TDebugDevice::SessionOpen());
    qputenv("KELVORA_DEBUG_DIR", programDir);
    qputenv("XDG_STATE_HOME", stateDir);
    kelvora::diagnostics::TDebugDevice().SetMedia(kelvora::diagnostics::dmNull);
  }

  void scaleShortcutChecksExactlyOneItemAndButton() {
    kelvora::testing::NoHardwareMachine machine;
    auto form = kelvora::testing::MakeMainForm(kelvora::testing::FreshSettings());
    CommandTable& table = form->Commands();
    QVERIFY(table.Action(Cmd::Scale256)->isChecked());
    QVERIFY(table.Button(Cmd::Scale256)->isChecked());
    form->showNormal();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form.get(), Qt::Key_9, Qt::ControlModifier);
    QCOMPARE(form->View().VerticalScale(), 0);
    table.Button(Cmd::Scale16)->click();
    QCOMPARE(form->View().VerticalScale(), 4);
    int checkedItems = 0, downButtons = 0;
    for (int index = 0; index <= 8; ++index) {
      checkedItems += table.Action(ScaleCommand(index))->isChecked();
      downButtons += table.Button(ScaleCommand(index))->isChecked();
    }
    QCOMPARE(checkedItems, 1);
    QCOMPARE(downButtons, 1);
    QVERIFY(table.Action(Cmd::Scale16)->isChecked());
  }

  void portFailureEndsTheCommandWithItsText() {
    kelvora::testing::NoHardwareMachine machine;
    auto form = kelvora::testing::MakeMainForm(kelvora::testing::FreshSettings());
    form->Commands().SetHandler(
        Cmd::About, [] { throw std::runtime_error("error: Midiout takes too long to send data"); });
    QString text;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
      text = box->text();
      box->accept();
    });
    form->Commands().Action(Cmd::About)->trigger();
    QCOMPARE(text, QString("error: Midiout takes too long to send data"));
  }
};

QTEST_MAIN(CommandsTest)
#include "app_commands_test.moc"
