// The waveform view on an opened wavesample of the simulated sampler: how it opens, the window
// commands, the scroll bar, the selection, the status-bar jump and the audition.
#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QtTest>
#include <algorithm>

#include "editor/WaveView.h"
#include "protocol/Records.h"
#include "protocol/Sysex.h"
#include "support/SimSession.h"
#include "support/WindowTest.h"

using kelvora::editor::WaveView;
using kelvora::testing::SimSession;
namespace editor = kelvora::editor;

namespace {

// A view 512 pixels wide, so that column x shows overview point x.
struct OpenView {
  SimSession session;
  WaveView view{*session.eps};
  int stateChanges = 0;
  int openResult = 0;

  OpenView(int samples, int end) {
    session.ui.onRefreshView = [this] { view.RefreshView(); };
    view.SetOnStateChanged([this] { ++stateChanges; });
    session.AddInstrument(0, "TEST");
    session.AddLayer(0, 0);
    session.AddWaveSample(0, 0, 1, samples, end);
    if (session.Connect()) openResult = session.Open(0, 1);
    view.resize(512, 300);
    view.show();
    view.ResetView();
    view.RefreshView();
    session.TakeSent();
  }

  const kelvora::protocol::TEps& Eps() const { return *session.eps; }
  QWidget* Box() { return view.WaveBox(); }
  QScrollBar* Bar() { return view.ScrollBar(); }
  bool BarVisible() { return !Bar()->isHidden(); }

  void Mouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, int x) {
    const QPointF at(x, 20);
    QMouseEvent event(type, at, Box()->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(Box(), &event);
  }
  void Drag(int from, int to) {
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, from);
    Mouse(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, to);
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, to);
  }
};

constexpr int kLongSamples = 40001;
constexpr int kLongEnd = 40000;  // WsLast: positions 0 .. 40000

bool Contains(const std::vector<uint8_t>& bytes, const std::vector<uint8_t>& part) {
  return std::search(bytes.begin(), bytes.end(), part.begin(), part.end()) != bytes.end();
}

}  // namespace

class ViewWindowTest : public kelvora::testing::WindowTest {
  Q_OBJECT

 private Q_SLOTS:
  void aWavesampleOf512TimesKIsNotZoomedAndHasNoScrollBar() {
    OpenView open(2048, 2047);
    QCOMPARE(open.openResult, 1);
    QCOMPARE(open.Box()->width(), 512);
    QCOMPARE(open.Eps().ViewStep, 4);
    QCOMPARE(open.Eps().ViewEnd, 2048);
    QVERIFY(!open.Eps().Zoomed);
    QVERIFY(!open.BarVisible());
    QCOMPARE(open.Bar()->value(), 0);
  }

  void aWavesampleShorterThan512ShowsTheScrollBarAtZero() {
    OpenView open(300, 299);
    QCOMPARE(open.openResult, 1);
    QCOMPARE(open.Eps().ViewStart, 0);
    QCOMPARE(open.Eps().ViewEnd, 512);
    QCOMPARE(open.Eps().ViewStep, 1);
    QVERIFY(open.Eps().Zoomed);
    QVERIFY(open.BarVisible());
    QCOMPARE(open.Bar()->value(), 0);
  }

  void thousandPositionsOpenWithViewStepTwo() {
    OpenView open(1000, 999);
    QCOMPARE(open.openResult, 1);
    QCOMPARE(open.Eps().ViewStep, 2);
    QCOMPARE(open.Eps().ViewEnd, 1000);
    QVERIFY(!open.Eps().Zoomed);
    QVERIFY(!open.BarVisible());
  }

  void theStatusBarJumpShowsThe512PositionsAroundAMarker() {
    OpenView open(kLongSamples, kLongEnd);
    open.Drag(10, 20);
    QVERIFY(open.view.HasSelection());
    open.view.JumpTo(10000);
    QCOMPARE(open.Eps().ViewStart, 9744);
    QCOMPARE(open.Eps().ViewEnd, 10256);
    QCOMPARE(open.Eps().ViewStep, 1);
    QVERIFY(!open.view.HasSelection());
    QVERIFY(open.BarVisible());
    // near the end of the data: the last 512 positions
    open.view.JumpTo(39990);
    QCOMPARE(open.Eps().ViewStart, kLongEnd + 1 - 512);
    QCOMPARE(open.Eps().ViewEnd, kLongEnd + 1);
    QCOMPARE(open.Bar()->value(), 1000);
  }

  void zoomInOn100PositionsAt10000Shows10000To10511() {
    OpenView open(kLongSamples, kLongEnd);
    open.view.JumpTo(10000);  // 9744 .. 10256, one sample per point
    open.view.ZoomOut();      // 9488 .. 10512, two per point
    QCOMPARE(open.Eps().ViewStart, 9488);
    QCOMPARE(open.Eps().ViewStep, 2);
    open.Drag((10000 - 9488) / 2, (10000 - 9488) / 2 + 49);
    QCOMPARE(open.view.SelStart(), 10000);
    QCOMPARE(open.view.SelEnd(), 10099);
    open.view.ZoomIn();
    QCOMPARE(open.Eps().ViewStart, 10000);
    QCOMPARE(open.Eps().ViewEnd, 10512);
    QCOMPARE(open.Eps().ViewStep, 1);
    QVERIFY(!open.view.HasSelection());
    // the 512 samples were asked for with the sample-data request
    const auto asked = kelvora::testing::Bytes([](kelvora::protocol::ByteSink& s) {
      kelvora::protocol::SendGetWsData(s, 1, kelvora::protocol::Target{0, 0, 1}, 10000, 10512);
    });
    QVERIFY(Contains(open.session.TakeSent(), asked));
  }

  void zoomInNeedsASelectionAndMoreThanOneSamplePerPoint() {
    OpenView open(kLongSamples, kLongEnd);
    open.view.ZoomIn();  // no selection
    QVERIFY(!open.Eps().Zoomed);
    open.view.JumpTo(10000);
    open.Drag(10, 20);
    open.session.TakeSent();
    open.view.ZoomIn();  // one sample per point already
    QCOMPARE(open.Eps().ViewStart, 9744);
    QVERIFY(open.view.HasSelection());
    QVERIFY(open.session.TakeSent().empty());
  }

  void zoomOutAtTheStartGrowsToTheRightOnly() {
    OpenView open(kLongSamples, kLongEnd);
    open.view.JumpTo(0);
    QCOMPARE(open.Eps().ViewStart, 0);
    QCOMPARE(open.Eps().ViewEnd, 512);
    open.Drag(3, 5);
    open.view.ZoomOut();
    QCOMPARE(open.Eps().ViewStart, 0);
    QCOMPARE(open.Eps().ViewEnd, 1024);
    QCOMPARE(open.Eps().ViewStep, 2);
    QVERIFY(open.view.HasSelection());  // zoom out keeps the selection
    QCOMPARE(open.view.SelStart(), 3);
  }

  void showAllReusesTheOpeningPictureWithoutTraffic() {
    OpenView open(kLongSamples, kLongEnd);
    QVERIFY(!open.view.ScrollBar()->isVisible() || !open.Eps().Zoomed);
    open.view.JumpTo(20000);
    QVERIFY(open.Eps().Zoomed);
    open.session.TakeSent();
    open.view.ShowAll();
    QVERIFY(!open.Eps().Zoomed);
    QCOMPARE(open.Eps().ViewEnd, kLongEnd + 1);
    QVERIFY(!open.BarVisible());
    QVERIFY(open.session.TakeSent().empty());
    // disabled when nothing is zoomed: nothing happens
    open.view.ShowAll();
    open.view.ZoomOut();
    QVERIFY(open.session.TakeSent().empty());
  }

  void theThumbReleasedAt1000ShowsTheLastWindow() {
    OpenView open(kLongSamples, kLongEnd);
    open.view.JumpTo(10000);
    open.view.ScrollBarScroll(editor::scPosition, 1000);
    QCOMPARE(open.Eps().ViewStart, kLongEnd + 1 - 512);
    QCOMPARE(open.Eps().ViewEnd, kLongEnd + 1);
    QCOMPARE(open.Bar()->value(), 1000);
  }

  void theThumbDraggedAndReleasedThroughTheScrollBar() {
    OpenView open(kLongSamples, kLongEnd);
    open.view.JumpTo(10000);
    open.session.TakeSent();
    open.Bar()->setSliderDown(true);
    open.Bar()->setSliderPosition(500);  // while dragging: nothing is fetched
    QCOMPARE(open.Eps().ViewStart, 9744);
    QVERIFY(open.session.TakeSent().empty());
    open.Bar()->setSliderDown(false);
    // trunc((40001 - 512) × 0.5) = 19744
    QCOMPARE(open.Eps().ViewStart, 19744);
    // the thumb shows the window it got, trunc(19744 / 39489 × 1000), not where it was let go
    QCOMPARE(open.Bar()->value(), 499);
  }

  void scrollCodesMoveTheWindowAndClearTheSelection() {
    OpenView open(kLongSamples, kLongEnd);
    struct Case {
      editor::TScrollCode code;
      int start;
    } cases[] = {{editor::scLineUp, 9488},
                 {editor::scLineDown, 10000},
                 {editor::scPageUp, 9232},
                 {editor::scPageDown, 10256}};
    for (const Case& c : cases) {
      open.view.JumpTo(10000);  // 9744 .. 10256
      open.Drag(1, 2);
      const int changes = open.stateChanges;
      open.view.ScrollBarScroll(c.code, 0);
      QCOMPARE(open.Eps().ViewStart, c.start);
      QCOMPARE(open.Eps().ViewEnd, c.start + 512);
      QVERIFY(!open.view.HasSelection());
      QVERIFY(open.stateChanges > changes);
      // the thumb shows the window: trunc(start / (40001 - 512) × 1000)
      QCOMPARE(open.Bar()->value(), static_cast<int>(c.start / 39489.0 * 1000));
    }
  }

  void scrollCodesThatChangeNothing() {
    OpenView open(kLongSamples, kLongEnd);
    open.view.JumpTo(10000);
    open.Drag(1, 2);
    open.session.TakeSent();
    for (auto code : {editor::scTrack, editor::scTop, editor::scBottom, editor::scEndScroll}) {
      open.view.ScrollBarScroll(code, 700);
    }
    QCOMPARE(open.Eps().ViewStart, 9744);
    QVERIFY(open.view.HasSelection());
    QVERIFY(open.session.TakeSent().empty());
  }

  void scrollBarActionsReportTheTrueWindow() {
    OpenView open(kLongSamples, kLongEnd);
    open.view.JumpTo(10000);
    open.Bar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // line down
    QCOMPARE(open.Eps().ViewStart, 10000);
    QCOMPARE(open.Bar()->value(), 253);  // not the old position plus one step
    open.Bar()->triggerAction(QAbstractSlider::SliderToMinimum);  // to the top: nothing
    QCOMPARE(open.Eps().ViewStart, 10000);
    QCOMPARE(open.Bar()->value(), 253);
    open.Bar()->triggerAction(QAbstractSlider::SliderPageStepSub);  // page up
    QCOMPARE(open.Eps().ViewStart, 9488);
  }

  void aDragToTheLeftEqualsTheSameDragToTheRight() {
    OpenView open(kLongSamples, kLongEnd);
    const int step = open.Eps().ViewStep;
    open.Drag(300, 200);
    const int leftStart = open.view.SelStart();
    const int leftEnd = open.view.SelEnd();
    open.Drag(200, 300);
    QCOMPARE(open.view.SelStart(), leftStart);
    QCOMPARE(open.view.SelEnd(), leftEnd);
    QCOMPARE(leftStart, 200 * step);
    QCOMPARE(leftEnd, 301 * step - 1);
  }

  void aClickSelectsOnePointsBlock() {
    OpenView open(kLongSamples, kLongEnd);
    open.view.JumpTo(20000);
    open.view.ZoomOut();  // two per point from 19488
    open.Drag(10, 10);
    QCOMPARE(open.view.SelStart(), 19488 + 20);
    QCOMPARE(open.view.SelEnd(), 19488 + 21);
  }

  void draggingPastTheEdgesSelectsToTheEdges() {
    OpenView open(kLongSamples, kLongEnd);
    open.view.JumpTo(10000);
    open.Drag(100, 5000);
    QCOMPARE(open.view.SelStart(), 9744 + 100);
    QCOMPARE(open.view.SelEnd(), 9744 + 511);
    open.Drag(100, -300);
    QCOMPARE(open.view.SelStart(), 9744);
    QCOMPARE(open.view.SelEnd(), 9744 + 100);
  }

  void movesWithoutAPressSelectNothing() {
    OpenView open(kLongSamples, kLongEnd);
    open.Mouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, 40);
    QVERIFY(!open.view.HasSelection());
    open.Drag(10, 20);
    open.Mouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, 400);  // after the release
    QCOMPARE(open.view.SelEnd(), 21 * open.Eps().ViewStep - 1);
  }

  void theScaleChangesThePictureOnly() {
    OpenView open(kLongSamples, kLongEnd);
    QCOMPARE(open.view.VerticalScale(), 8);
    open.Drag(5, 9);
    open.view.SetVerticalScale(0);
    QCOMPARE(open.view.VerticalScale(), 0);
    QVERIFY(open.view.HasSelection());
    open.view.SetVerticalScale(12);
    QCOMPARE(open.view.VerticalScale(), 8);
    QVERIFY(open.session.TakeSent().empty());
  }

  void theRightButtonAuditionsWhileHeld() {
    OpenView open(kLongSamples, kLongEnd);
    open.session.ClearLog();
    open.Mouse(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, 50);
    QVERIFY(open.view.Auditioning());
    auto notes = open.session.Notes();
    QCOMPARE(notes.size(), size_t{1});
    const int key = kelvora::protocol::AuditionKey(open.Eps().WsParams);
    QCOMPARE(notes[0].key, key);
    QCOMPARE(notes[0].velocity, 121);
    // SelectInstrument, then StartAudition selects once more: 8, 0, 0 twice
    QCOMPARE(open.session.ProgramChanges(), std::vector<int>({8, 0, 0, 8, 0, 0}));
    open.Mouse(QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, 50);
    QVERIFY(!open.view.Auditioning());
    notes = open.session.Notes();
    QCOMPARE(notes.size(), size_t{2});
    QCOMPARE(notes[1].key, key);
    QCOMPARE(notes[1].velocity, 0);
    QVERIFY(!open.view.HasSelection());  // the right button selects nothing
  }

  void aHeldNoteStopsWhenTheWavesampleIsClosed() {
    OpenView open(kLongSamples, kLongEnd);
    open.session.ClearLog();
    open.Mouse(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, 50);
    open.view.ResetView();
    QCOMPARE(open.session.Notes().size(), size_t{2});
    open.Mouse(QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, 50);
    QCOMPARE(open.session.Notes().size(), size_t{2});  // no second note off
  }

  void nothingHappensWithoutAnOpenWavesample() {
    OpenView open(kLongSamples, kLongEnd);
    open.session.eps->CloseWs();
    open.view.ResetView();
    open.session.ClearLog();
    open.session.TakeSent();
    open.Drag(10, 20);
    open.Mouse(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, 50);
    open.view.JumpTo(100);
    open.view.ScrollBarScroll(editor::scLineDown, 0);
    QVERIFY(!open.view.HasSelection());
    QVERIFY(!open.view.Auditioning());
    QVERIFY(!open.BarVisible());
    QVERIFY(open.session.TakeSent().empty());
    QVERIFY(open.session.Notes().empty());
  }
};

QTEST_MAIN(ViewWindowTest)
#include "view_window_test.moc"
