#include <QAction>
#include <QSignalSpy>
#include <QtTest>

#include "controls/Knob.h"
#include "support/Shots.h"
#include "support/WindowTest.h"

using kelvora::controls::TKnob;
using kelvora::controls::TKnobPictures;

namespace {

// Drives the knob's mouse handling with exact buttons and modifiers, as a window system would.
struct Pointer {
  TKnob& knob;
  Qt::KeyboardModifiers keys = Qt::NoModifier;
  Qt::MouseButtons held = Qt::NoButton;

  void Send(QEvent::Type type, int y, Qt::MouseButton button) {
    const QPointF at(13, y);
    QMouseEvent event(type, at, knob.mapToGlobal(at), button, held, keys);
    QCoreApplication::sendEvent(&knob, &event);
  }
  void Press(int y, Qt::MouseButton button = Qt::LeftButton) {
    held |= button;
    Send(QEvent::MouseButtonPress, y, button);
  }
  void Move(int y) { Send(QEvent::MouseMove, y, Qt::NoButton); }
  void Release(int y, Qt::MouseButton button = Qt::LeftButton) {
    held &= ~button;
    Send(QEvent::MouseButtonRelease, y, button);
  }
};

bool Dark(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 100; }
bool Light(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) > 150; }

}  // namespace

class KnobTest : public kelvora::testing::WindowTest {
  Q_OBJECT

 private Q_SLOTS:
  void snapGoesToNearestTickHalvesUp() {
    TKnob knob;
    const QList<int> in{0, 10, 30, 45, 60, 80, 95, 100};
    const QList<int> out{0, 16, 33, 50, 66, 83, 100, 100};
    for (int i = 0; i < in.size(); ++i) QCOMPARE(knob.Snap(in[i]), out[i]);
    knob.SetMin(-60);
    knob.SetMax(60);
    QCOMPARE(knob.Snap(-60), -60);
    QCOMPARE(knob.Snap(-35), -40);
    QCOMPARE(knob.Snap(-30), -20);
    QCOMPARE(knob.Snap(59), 60);
  }

  void ctrlArrowsGoToTheNextTick() {
    TKnob knob;
    const struct {
      int from, key, to;
    } cases[] = {{50, Qt::Key_Up, 66},   {60, Qt::Key_Up, 66},   {50, Qt::Key_Right, 66},
                 {50, Qt::Key_Down, 33}, {60, Qt::Key_Down, 50}, {60, Qt::Key_Left, 50},
                 {100, Qt::Key_Up, 100}, {0, Qt::Key_Down, 0},   {83, Qt::Key_Up, 100}};
    for (const auto& c : cases) {
      knob.SetPosition(c.from);
      QTest::keyClick(&knob, Qt::Key(c.key), Qt::ControlModifier);
      QCOMPARE(knob.Position(), c.to);
    }
  }

  void ctrlArrowsNeverStallOrReverseOnSmallRanges() {
    TKnob knob;
    knob.SetMax(5);  // ticks 0 0 1 2 3 4 5
    knob.SetPosition(1);
    QTest::keyClick(&knob, Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(knob.Position(), 2);
    knob.SetPosition(4);
    QTest::keyClick(&knob, Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(knob.Position(), 3);
    knob.SetMax(10);  // ticks 0 1 3 5 6 8 10
    knob.SetPosition(3);
    QTest::keyClick(&knob, Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(knob.Position(), 5);
  }

  void arrowsStepClampAndAlwaysSignal() {
    TKnob knob;
    QSignalSpy changes(&knob, &TKnob::OnChange);
    knob.SetSmallChange(7);
    QTest::keyClick(&knob, Qt::Key_Up);
    QTest::keyClick(&knob, Qt::Key_Right);
    QCOMPARE(knob.Position(), 14);
    QTest::keyClick(&knob, Qt::Key_Left);
    QCOMPARE(knob.Position(), 7);
    knob.SetPosition(100);
    changes.clear();
    QTest::keyClick(&knob, Qt::Key_Up);
    QCOMPARE(knob.Position(), 100);
    QCOMPARE(changes.count(), 1);
    knob.SetPosition(-5);
    QCOMPARE(knob.Position(), 0);
    QCOMPARE(changes.count(), 2);
    QTest::keyClick(&knob, Qt::Key_A);
    QCOMPARE(changes.count(), 2);
  }

  void arrowsReachTheKnobBeforeWindowShortcuts() {
    QWidget window;
    auto* knob = new TKnob(&window);
    auto* action = new QAction(&window);
    action->setShortcut(Qt::Key_Up);
    window.addAction(action);
    QSignalSpy triggered(action, &QAction::triggered);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    knob->setFocus();
    QTRY_VERIFY(knob->hasFocus());
    QTest::keyClick(knob, Qt::Key_Up);
    QCOMPARE(knob->Position(), 1);
    QCOMPARE(triggered.count(), 0);
    QVERIFY(knob->hasFocus());
  }

  void plainDragSweepsTheRangeOverSensitivityPixels() {
    TKnob knob;
    Pointer mouse{knob};
    mouse.Press(100);
    mouse.Move(36);
    QCOMPARE(knob.Position(), 50);
    mouse.Move(35);  // 6500 div 128 = 50, truncated
    QCOMPARE(knob.Position(), 50);
    mouse.Release(35);
    mouse.Press(0);
    mouse.Move(64);
    QCOMPARE(knob.Position(), 0);
    mouse.Move(-200);
    QCOMPARE(knob.Position(), 100);
    mouse.Release(-200);
    mouse.Press(0, Qt::RightButton);  // the right button alone starts no drag
    mouse.Move(100);
    mouse.Move(200);
    QCOMPARE(knob.Position(), 100);
  }

  void snappingDragsReanchorWhenSnappingChanges() {
    TKnob knob;
    knob.SetPosition(45);
    QSignalSpy changes(&knob, &TKnob::OnChange);
    Pointer mouse{knob};
    mouse.keys = Qt::ControlModifier;
    mouse.Press(100);  // snaps at once
    QCOMPARE(knob.Position(), 50);
    QCOMPARE(changes.count(), 1);
    mouse.Release(100);

    knob.SetPosition(0);
    mouse.keys = Qt::NoModifier;
    mouse.Press(100);
    mouse.Move(68);
    QCOMPARE(knob.Position(), 25);
    mouse.keys = Qt::ControlModifier;
    mouse.Move(60);  // anchored here at 25, snapped
    QCOMPARE(knob.Position(), 33);
    mouse.Move(46);  // 14 pixels of 128 div 3 add a third of the range to 25
    QCOMPARE(knob.Position(), 50);
    mouse.keys = Qt::NoModifier;
    mouse.Move(40);  // anchored here at 50, plain again
    QCOMPARE(knob.Position(), 50);
    mouse.Move(28);
    QCOMPARE(knob.Position(), 59);
    mouse.Press(28, Qt::RightButton);  // the right button snaps like Ctrl
    mouse.Move(28);
    QCOMPARE(knob.Position(), 66);
  }

  void minAndMaxKeepMinBelowMax() {
    TKnob knob;
    knob.SetPosition(70);
    QSignalSpy changes(&knob, &TKnob::OnChange);
    knob.SetMin(100);
    QCOMPARE(knob.Min(), 0);
    knob.SetMax(0);
    QCOMPARE(knob.Max(), 100);
    knob.SetMax(40);
    QCOMPARE(knob.Max(), 40);
    QCOMPARE(knob.Position(), 40);
    knob.SetMin(30);
    QCOMPARE(knob.Position(), 40);
    knob.SetMin(39);
    knob.SetMax(45);
    QCOMPARE(knob.Position(), 40);
    knob.SetMin(42);
    QCOMPARE(knob.Position(), 42);
    QCOMPARE(changes.count(), 0);
  }

  void tinySensitivityStillDrags() {
    TKnob knob;
    knob.SetSensitivity(0);
    QCOMPARE(knob.Sensitivity(), TKnob::kMinSensitivity);
    Pointer mouse{knob};
    mouse.keys = Qt::ControlModifier;
    mouse.Press(10);
    mouse.Move(9);
    QCOMPARE(knob.Position(), 100);
  }

  void widestRangeDoesNotWrap() {
    TKnob knob;
    knob.SetMin(-2000000000);
    knob.SetMax(2000000000);
    knob.SetPosition(knob.Min());
    Pointer mouse{knob};
    mouse.Press(100);
    mouse.Move(36);
    QCOMPARE(knob.Position(), 0);
    mouse.Move(-1000000);
    QCOMPARE(knob.Position(), knob.Max());
    mouse.Release(0);
    QTest::keyClick(&knob, Qt::Key_Down, Qt::ControlModifier);
    QVERIFY(knob.Position() > 1000000000 && knob.Position() < knob.Max());
    QCOMPARE(knob.Snap(knob.Max()), knob.Max());
  }

  void picturesFollowTheKnobGeometry() {
    const TKnobPictures pictures;
    const QImage& mask = pictures.Mask();
    QCOMPARE(mask.size(), QSize(27, 27));
    for (int x = 0; x < 27; ++x) QCOMPARE(Dark(mask, x, 13), x >= 4 && x <= 22);
    const QRgb red = TKnobPictures::BackgroundKey();
    for (const QImage* knob : {&pictures.Normal(), &pictures.Focus()}) {
      QCOMPARE(knob->pixel(0, 0), red);
      QVERIFY(Dark(*knob, 0, 13) && Dark(*knob, 13, 0) && Dark(*knob, 26, 13));  // ticks
      QVERIFY(Dark(*knob, 4, 22) && Dark(*knob, 22, 4) && Dark(*knob, 22, 22));
      QCOMPARE(knob->pixel(13, 25), red);                              // no tick at the bottom
      QVERIFY(qGray(knob->pixel(7, 7)) > qGray(knob->pixel(19, 19)));  // lit from upper left
    }
    QCOMPARE(pictures.Normal().pixel(13, 23), red);
    QVERIFY(Dark(pictures.Focus(), 13, 23));
  }

  void indicatorPointsAtTheValueInsideTheFace() {
    QWidget parent;
    const QColor back(20, 140, 60);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, back);
    parent.setPalette(palette);
    auto* knob = new TKnob(&parent);
    QCOMPARE(knob->size(), QSize(27, 27));
    const QPoint lowerLeft(8, 18), top(13, 6), lowerRight(18, 18);
    const struct {
      int position;
      QPoint dark;
      QString shot;
    } cases[] = {{0, lowerLeft, "knob_min"}, {50, top, "knob_mid"}, {100, lowerRight, "knob_max"}};
    for (const auto& c : cases) {
      knob->SetPosition(c.position);
      const QImage image = kelvora::testing::Shoot(knob, c.shot);
      for (const QPoint spot : {lowerLeft, top, lowerRight}) {
        QCOMPARE(Dark(image, spot.x(), spot.y()), spot == c.dark);
        QCOMPARE(Light(image, spot.x(), spot.y()), spot != c.dark);
      }
      QCOMPARE(QColor(image.pixel(2, 6)), back);  // red became the parent's background
    }
    knob->SetPosition(0);
    const QImage image = knob->grab().toImage();
    QCOMPARE(QColor(image.pixel(2, 24)), back);  // the line stops at the face's edge
  }

  void focusShowsTheRing() {
    QWidget window;
    auto* knob = new TKnob(&window);
    new TKnob(&window);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    knob->SetPosition(50);
    knob->setFocus();
    QTRY_VERIFY(knob->hasFocus());
    const QImage focused = kelvora::testing::Shoot(knob, "knob_mid_focus");
    QVERIFY(Dark(focused, 13, 23));
    QVERIFY(Dark(focused, 13, 6));
    QTest::keyClick(knob, Qt::Key_Tab);
    QTRY_VERIFY(!knob->hasFocus());
    QVERIFY(!Dark(knob->grab().toImage(), 13, 23));
  }
};

QTEST_MAIN(KnobTest)
#include "knob_test.moc"
