#include <QAbstractButton>
#include <QButtonGroup>
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>
#include <functional>
#include <utility>
#include <vector>

#include "dialogs/PBModeForm.h"
#include "dialogs/ScaleDataForm.h"
#include "support/ModalWatch.h"
#include "support/Shots.h"
#include "support/WindowTest.h"

using kelvora::dialogs::TPBModeForm;
using kelvora::dialogs::TScaleDataForm;
using kelvora::testing::ModalWatch;

namespace {

using Nodes = std::vector<std::pair<int, int>>;  // (position, level) from the left

// Runs the envelope dialog over first .. last, lets act work on it while shown, then presses
// OK or Cancel; gives the modal result.
int RunScale(TScaleDataForm& form, int first, int last,
             const std::function<void(TScaleDataForm&)>& act, bool ok = true) {
  ModalWatch<TScaleDataForm> watch([&](TScaleDataForm* shown) {
    act(*shown);
    if (shown->isVisible()) (ok ? shown->OkButton() : shown->CancelButton())->click();
  });
  return form.Execute(first, last);
}

Nodes ReadNodes(const TScaleDataForm& form) {
  Nodes nodes;
  int position = 0;
  int level = 0;
  while (form.GetNode(static_cast<int>(nodes.size()), position, level))
    nodes.emplace_back(position, level);
  return nodes;
}

QPoint NodeAt(const TScaleDataForm& form, int i) { return {form.Node(i)->X, form.Node(i)->Y}; }

void Click(TScaleDataForm& form, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
  QTest::mousePress(form.ScaleBox(), button, {}, at);
  QTest::mouseRelease(form.ScaleBox(), button, {}, at);
}

void Drag(TScaleDataForm& form, QPoint from, QPoint to) {
  QTest::mousePress(form.ScaleBox(), Qt::LeftButton, {}, from);
  QTest::mouseMove(form.ScaleBox(), to);
  QTest::mouseRelease(form.ScaleBox(), Qt::LeftButton, {}, to);
}

// The frame's client area is its size less a 2-pixel edge on each side.
void SetBoxSize(TScaleDataForm& form, int width, int height) {
  form.ScrollBox()->resize(width + 4, height + 4);
}

int RunPBMode(TPBModeForm& form, int mode, const std::function<void(TPBModeForm&)>& act,
              bool ok = true) {
  ModalWatch<TPBModeForm> watch([&](TPBModeForm* shown) {
    act(*shown);
    if (shown->isVisible()) (ok ? shown->OkButton() : shown->CancelButton())->click();
  });
  return form.Execute(mode);
}

}  // namespace

class EditDialogsTest : public kelvora::testing::WindowTest {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase() { QLocale::setDefault(QLocale::c()); }

  // The default box is 317 x 125: BoxRight 314 and 119 rows between BoxTop and BoxBottom.
  void untouchedEnvelopeIsOneFlatSegment() {
    TScaleDataForm form;
    QCOMPARE(RunScale(form, 1000, 1999, [](TScaleDataForm&) {}), 1);
    QCOMPARE(form.BoxRight() - form.BoxLeft(), 311);
    QCOMPARE(form.BoxBottom() - form.BoxTop(), 119);
    QCOMPARE(ReadNodes(form), (Nodes{{1000, 258}, {1999, 258}}));  // odd height: L = 130, not 128

    SetBoxSize(form, 317, 126);
    QCOMPARE(RunScale(form, 0, 99, [](TScaleDataForm&) {}), 1);
    QCOMPARE(ReadNodes(form), (Nodes{{0, 256}, {99, 256}}));  // even height: L = 128, gain 1.0
  }

  void nodesMapToPositionsAndLevels() {
    TScaleDataForm form;
    SetBoxSize(form, 341, 125);  // 335 pixels between the end nodes
    RunScale(form, 1000, 1999, [](TScaleDataForm& shown) {
      Click(shown, {171, 40});
      Click(shown, {100, 0});  // inside the top margin: the row is kept as clicked
    });
    const Nodes nodes = ReadNodes(form);
    QCOMPARE(nodes.size(), size_t{4});
    QCOMPARE(nodes[0].first, 1000);
    QCOMPARE(nodes[1], std::make_pair(1000 + 999 * 97 / 335, 518));  // L = 262
    QCOMPARE(nodes[2].first, 1500);
    QCOMPARE(nodes[2].second, 305);  // L = 177
    QCOMPARE(nodes[3].first, 1999);

    // Ranges beyond 2^31 / pixels need the 64-bit product.
    RunScale(form, 0, 100000000, [](TScaleDataForm& shown) { Click(shown, {171, 62}); });
    QCOMPARE(ReadNodes(form)[1].first, 50149253);
  }

  void levelBelowTheZeroLineIsSilenceNotWrapped() {
    TScaleDataForm form;
    RunScale(form, 0, 999, [](TScaleDataForm& shown) { Click(shown, {100, 124}); });
    QCOMPARE(form.Node(1)->Y, 124);
    QCOMPARE(ReadNodes(form)[1].second, 0);
  }

  void insertionNeedsElevenPixelsFromBothNeighbours() {
    TScaleDataForm form;
    RunScale(form, 0, 999, [](TScaleDataForm& shown) {
      Click(shown, {13, 30});   // 10 from the first node
      Click(shown, {304, 30});  // 10 from the last node
      QCOMPARE(shown.NodeCount(), 2);
      QCOMPARE(shown.SelectedIndex(), -1);
      Click(shown, {14, 30});
      Click(shown, {303, 40});
      QCOMPARE(shown.NodeCount(), 4);
      QCOMPARE(shown.SelectedIndex(), 2);
      Click(shown, {24, 50});  // 10 from the new node at 14
      Click(shown, {25, 50});
      QCOMPARE(shown.NodeCount(), 5);
      Click(shown, {100, 50}, Qt::RightButton);
      QCOMPARE(shown.NodeCount(), 5);
      QCOMPARE(shown.SelectedIndex(), 2);
    });
    QCOMPARE(NodeAt(form, 1), QPoint(14, 30));
    QCOMPARE(NodeAt(form, 2), QPoint(25, 50));
    QCOMPARE(NodeAt(form, 3), QPoint(303, 40));
  }

  void pressWithinFivePixelsPicksTheNode() {
    TScaleDataForm form;
    RunScale(form, 0, 999, [](TScaleDataForm& shown) {
      Click(shown, {150, 20});
      Click(shown, {8, 100});
      QCOMPARE(shown.SelectedIndex(), 0);
      Click(shown, {145, 100});
      QCOMPARE(shown.SelectedIndex(), 1);
      QCOMPARE(shown.NodeCount(), 3);
    });
  }

  void draggingKeepsFourPixelsAndTheBoxRows() {
    TScaleDataForm form;
    RunScale(form, 0, 999, [](TScaleDataForm& shown) {
      Click(shown, {100, 62});
      Drag(shown, {100, 62}, {-20, -8});
      QCOMPARE(NodeAt(shown, 1), QPoint(7, 3));
      Drag(shown, {12, 3}, {400, 140});  // a press at 7 would pick the first node
      QCOMPARE(NodeAt(shown, 1), QPoint(310, 122));
      Drag(shown, {310, 122}, {200, 90});
      QCOMPARE(NodeAt(shown, 1), QPoint(200, 90));
      QCOMPARE(shown.SelectedIndex(), 1);

      Drag(shown, {3, 62}, {60, 20});  // end nodes only go up and down
      QCOMPARE(NodeAt(shown, 0), QPoint(3, 20));
      Drag(shown, {314, 62}, {250, 100});
      QCOMPARE(NodeAt(shown, 2), QPoint(314, 100));

      QTest::mouseMove(shown.ScaleBox(), {30, 30});  // no button down: nothing moves
      QCOMPARE(NodeAt(shown, 2), QPoint(314, 100));
    });
  }

  void delRemovesOnlyASelectedInnerNode() {
    TScaleDataForm form;
    RunScale(form, 0, 999, [](TScaleDataForm& shown) {
      QTest::keyClick(&shown, Qt::Key_Delete);  // nothing selected
      Click(shown, {3, 62});
      QTest::keyClick(&shown, Qt::Key_Delete);
      QCOMPARE(shown.NodeCount(), 2);
      QCOMPARE(shown.SelectedIndex(), 0);

      Click(shown, {100, 30});
      Click(shown, {200, 90});
      Click(shown, {100, 30});
      QTest::keyClick(&shown, Qt::Key_Delete);
      QCOMPARE(shown.NodeCount(), 3);
      QCOMPARE(shown.SelectedIndex(), -1);
      QCOMPARE(NodeAt(shown, 1), QPoint(200, 90));

      // Del in the middle of a drag: the rest of the drag moves nothing.
      QTest::mousePress(shown.ScaleBox(), Qt::LeftButton, {}, {200, 90});
      shown.DeleteNode1()->trigger();
      QTest::mouseMove(shown.ScaleBox(), {150, 40});
      QTest::mouseRelease(shown.ScaleBox(), Qt::LeftButton, {}, {150, 40});
      QCOMPARE(shown.NodeCount(), 2);
      QCOMPARE(NodeAt(shown, 1), QPoint(314, 62));
    });
  }

  void executeStartsFreshButKeepsDepth() {
    TScaleDataForm form;
    QCOMPARE(form.DepthLabel()->text(), QStringLiteral("3 dB"));
    QCOMPARE(RunScale(
                 form, 0, 999,
                 [](TScaleDataForm& shown) {
                   Click(shown, {100, 30});
                   Drag(shown, {3, 62}, {3, 10});
                   shown.DepthScrollBar()->setValue(3);
                   QCOMPARE(shown.focusWidget(), static_cast<QWidget*>(shown.OkButton()));
                 },
                 false),
             2);
    QCOMPARE(form.DepthLabel()->text(), QStringLiteral("4.5 dB"));
    form.DepthScrollBar()->setValue(6);
    QCOMPARE(form.DepthLabel()->text(), QStringLiteral("6 dB"));
    form.DepthScrollBar()->setValue(9);
    QCOMPARE(form.DepthScrollBar()->value(), 6);

    QCOMPARE(RunScale(form, 5, 10, [](TScaleDataForm& shown) { shown.reject(); }), 2);
    QCOMPARE(ReadNodes(form), (Nodes{{5, 258}, {10, 258}}));
    QCOMPARE(form.SelectedIndex(), -1);
    QCOMPARE(form.DepthScrollBar()->value(), 6);
  }

  void envelopeIsDrawnAndShot() {
    TScaleDataForm form;
    QImage box;
    RunScale(form, 0, 999, [&](TScaleDataForm& shown) {
      Click(shown, {120, 20});
      Click(shown, {220, 100});
      Click(shown, {120, 20});
      kelvora::testing::Shoot(&shown, QStringLiteral("scale_data"));
      box = shown.ScaleBox()->grab().toImage();
    });
    QCOMPARE(box.pixelColor(60, 62), QColor(0, 0, 255));    // the 1.0 line
    QCOMPARE(box.pixelColor(120, 20), QColor(Qt::black));   // selected: filled
    QCOMPARE(box.pixelColor(117, 17), QColor(Qt::black));   // its top-left corner
    QVERIFY(box.pixelColor(123, 17) != QColor(Qt::black));  // 6 x 6, not 7 x 7
    QVERIFY(box.pixelColor(117, 23) != QColor(Qt::black));
    QVERIFY(box.pixelColor(221, 101) != QColor(Qt::black));  // others: hollow
    QCOMPARE(box.pixelColor(217, 97), QColor(Qt::black));    // with a black outline
    QCOMPARE(box.pixelColor(170, 60), QColor(Qt::black));    // the line between them
  }

  void playbackModeMapsBothWays() {
    TPBModeForm form;
    const int modes[] = {0, 256, 512, 768, 1024};
    for (int item = 0; item < 5; ++item) {
      int shownItem = -1;
      QCOMPARE(RunPBMode(form, modes[item],
                         [&](TPBModeForm& shown) {
                           shownItem = shown.PBModeGroup()->checkedId();
                           QCOMPARE(shown.focusWidget(), static_cast<QWidget*>(shown.OkButton()));
                         }),
               1);
      QCOMPARE(shownItem, item);
      QCOMPARE(form.SelectedMode, modes[item]);
    }
    for (int item = 0; item < 5; ++item) {
      RunPBMode(form, 0, [&](TPBModeForm& shown) { shown.PBModeGroup()->button(item)->click(); });
      QCOMPARE(form.SelectedMode, modes[item]);
    }
  }

  void otherModeValuesKeepTheLastSelection() {
    TPBModeForm form;
    form.SelectedMode = 777;
    QCOMPARE(RunPBMode(form, 300,
                       [](TPBModeForm& shown) { QCOMPARE(shown.PBModeGroup()->checkedId(), -1); }),
             1);
    QCOMPARE(form.SelectedMode, 777);  // nothing selected: unchanged

    RunPBMode(form, 768, [](TPBModeForm&) {});
    for (int odd : {-256, 100, 1280, 2048}) {
      int shownItem = -1;
      RunPBMode(form, odd,
                [&](TPBModeForm& shown) { shownItem = shown.PBModeGroup()->checkedId(); });
      QCOMPARE(shownItem, 3);
      QCOMPARE(form.SelectedMode, 768);
    }
  }

  void cancelStillReportsTheSelection() {
    TPBModeForm form;
    QCOMPARE(RunPBMode(
                 form, 512,
                 [](TPBModeForm& shown) {
                   shown.PBModeGroup()->button(4)->click();
                   kelvora::testing::Shoot(&shown, QStringLiteral("playback_mode"));
                 },
                 false),
             2);
    QCOMPARE(form.SelectedMode, 1024);
    QCOMPARE(RunPBMode(form, 0, [](TPBModeForm& shown) { shown.reject(); }), 2);
    QCOMPARE(form.SelectedMode, 0);
    QCOMPARE(form.windowTitle(), QStringLiteral("Wavesample Playback Mode"));
  }
};

QTEST_MAIN(EditDialogsTest)
#include "edit_dialogs_test.moc"
