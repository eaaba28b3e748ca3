#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStatusTipEvent>
#include <QToolButton>
#include <QtTest>

#include "app/CommandTable.h"
#include "app/StatusPanels.h"
#include "protocol/Eps.h"
#include "support/MainWindowTest.h"

using namespace kelvora::app;

class StatusTest : public kelvora::testing::WindowTest {
  Q_OBJECT

 private Q_SLOTS:
  void panelsAreEmptyWithNothingOpen() {
    StatusState state;
    state.sampleStart = 5;
    state.loopOn = true;
    const PanelTexts texts = StatusPanels::Texts(state);
    for (const QString& text : texts) QVERIFY(text.isEmpty());
  }

  void markerPanelsFollowOpenAndLoop() {
    StatusState state;
    state.wsOpen = true;
    state.sampleStart = 1234567;
    state.sampleEnd = 2000000;
    state.loopStart = 10;
    state.loopEnd = 20;
    PanelTexts texts = StatusPanels::Texts(state);
    QCOMPARE(texts[0], QString("ws:1234567"));
    QCOMPARE(texts[1], QString("we:2000000"));
    QCOMPARE(texts[2], QString());
    QCOMPARE(texts[3], QString());
    state.loopOn = true;
    texts = StatusPanels::Texts(state);
    QCOMPARE(texts[2], QString("ls:10"));
    QCOMPARE(texts[3], QString("le:20"));
    QCOMPARE(texts[4], QString());
  }

  void rangePanelShowsTheSelection() {
    StatusState state;
    state.hasSelection = true;
    state.selStart = 10000;
    state.selEnd = 10511;
    QCOMPARE(StatusPanels::Texts(state)[4], QString("range:10000 - 10511"));
  }

  void panelsAreHitByPosition() {
    StatusPanels bar;
    const int width = bar.PanelWidth(0);
    QVERIFY(width >= 75);
    QVERIFY(bar.PanelWidth(4) >= bar.fontMetrics().horizontalAdvance("range:8388607 - 8388607"));
    const int end = 4 * width + bar.PanelWidth(4);
    QCOMPARE(bar.PanelAt(0), 0);
    QCOMPARE(bar.PanelAt(width - 1), 0);
    QCOMPARE(bar.PanelAt(width), 1);
    QCOMPARE(bar.PanelAt(4 * width), 4);
    QCOMPARE(bar.PanelAt(end - 1), 4);
    QCOMPARE(bar.PanelAt(end), StatusPanels::kNoPanel);
    std::vector<int> pressed;
    bar.SetOnPanelPressed([&](int panel) { pressed.push_back(panel); });
    bar.resize(end + 200, 20);
    QTest::mouseClick(&bar, Qt::RightButton, {}, QPoint(2 * width + 3, 5));
    QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(end + 10, 5));
    QCOMPARE(pressed, std::vector<int>{2});
  }

  void hintReplacesThePanelsWhileShown() {
    kelvora::testing::NoHardwareMachine machine;
    auto form = kelvora::testing::MakeMainForm(kelvora::testing::FreshSettings());
    StatusPanels& bar = form->StatusBar();
    QStatusTipEvent hint("Zoom out");
    QApplication::sendEvent(form.get(), &hint);
    QVERIFY(bar.HintMode());
    QCOMPARE(bar.Hint(), QString("Zoom out"));
    QStatusTipEvent none{QString()};
    QApplication::sendEvent(form.get(), &none);
    QVERIFY(!bar.HintMode());
  }

  void highlightedMenuItemShowsItsHint() {
    kelvora::testing::NoHardwareMachine machine;
    auto form = kelvora::testing::MakeMainForm(kelvora::testing::FreshSettings());
    form->showNormal();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QMenu* edit = form->Commands().Menu(Cmd::Edit);
    form->menuBar()->setActiveAction(edit->menuAction());
    QTRY_VERIFY(edit->isVisible());
    edit->setActiveAction(form->Commands().Action(Cmd::ReverseData));
    QTRY_COMPARE(form->StatusBar().Hint(), QString("Turn selected wavedata around backwards"));
    edit->hide();
    form->menuBar()->setActiveAction(nullptr);
    QTRY_VERIFY(!form->StatusBar().HintMode());
  }

  void toolButtonsNeverSwitchTheBar() {
    kelvora::testing::NoHardwareMachine machine;
    auto form = kelvora::testing::MakeMainForm(kelvora::testing::FreshSettings());
    form->showNormal();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QToolButton* button = form->Commands().Button(Cmd::ZoomIn);
    QTest::mouseMove(button);
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), button->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(button, &enter);
    QVERIFY(!form->StatusBar().HintMode());
  }

  void clicksDoNothingWithoutAWavesample() {
    kelvora::testing::NoHardwareMachine machine;
    auto form = kelvora::testing::MakeMainForm(kelvora::testing::FreshSettings());
    kelvora::protocol::TEps& eps = form->Eps();
    const int start = eps.ViewStart, end = eps.ViewEnd;
    for (int panel = 0; panel < StatusPanels::kPanels; ++panel) form->StatusBarMouseDown(panel);
    QCOMPARE(eps.ViewStart, start);
    QCOMPARE(eps.ViewEnd, end);
    QVERIFY(machine.Sampler().ReceivedFromProgram().empty());
    for (int panel = 0; panel < StatusPanels::kPanels; ++panel) {
      QCOMPARE(form->StatusBar().Text(panel), QString());
    }
  }

  void waitCursorNests() {
    kelvora::testing::NoHardwareMachine machine;
    auto form = kelvora::testing::MakeMainForm(kelvora::testing::FreshSettings());
    QVERIFY(!QGuiApplication::overrideCursor());
    form->BeginWait();
    form->BeginWait();
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    form->EndWait();
    QVERIFY(QGuiApplication::overrideCursor());
    form->EndWait();
    QVERIFY(!QGuiApplication::overrideCursor());
    form->EndWait();
    QCOMPARE(form->WaitCount(), 0);
    form->BeginWait();
    QVERIFY(QGuiApplication::overrideCursor());
    form->EndWait();
    QVERIFY(!QGuiApplication::overrideCursor());
  }
};

QTEST_MAIN(StatusTest)
#include "app_status_test.moc"
