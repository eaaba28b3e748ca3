// Renders the waveform view with an opened demo wavesample (whole, zoomed with a selection, one
// sample per point) and the browser with its small dialogs to PNG files in $KELVORA_SHOTS, and
// checks in the pictures what must be there.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QListWidget>
#include <QMouseEvent>
#include <QScrollBar>
#include <QtTest>

#include "dialogs/NoInstrForm.h"
#include "dialogs/OpenWaveForm.h"
#include "dialogs/RenameInstrForm.h"
#include "dialogs/WsIsCopyForm.h"
#include "editor/WaveView.h"
#include "support/ModalWatch.h"
#include "support/SimSession.h"
#include "support/WindowTest.h"

using kelvora::dialogs::TOpenWaveForm;
using kelvora::editor::WaveView;
using kelvora::testing::ModalWatch;
using kelvora::testing::SimSession;

namespace {

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kTeal = qRgb(0, 128, 128);
const QRgb kGreen = qRgb(0, 255, 0);

QString ShotPath(const QString& name) {
  QString folder = qEnvironmentVariable("KELVORA_SHOTS");
  if (folder.isEmpty()) folder = QDir::current().filePath("shots");
  QDir().mkpath(folder);
  return QDir(folder).filePath(name + ".png");
}

QImage Shot(QWidget* widget, const QString& name) {
  const QImage image = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
  if (!image.save(ShotPath(name))) qWarning("could not write %s", qPrintable(ShotPath(name)));
  return image;
}

int CountColumnsWith(const QImage& image, QRgb colour) {
  int columns = 0;
  for (int x = 0; x < image.width(); ++x) {
    for (int y = 0; y < image.height(); ++y) {
      if (image.pixel(x, y) == colour) {
        ++columns;
        break;
      }
    }
  }
  return columns;
}

void Drag(QWidget* box, int from, int to) {
  const auto send = [box](QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, int x) {
    const QPointF at(x, 30);
    QMouseEvent event(type, at, box->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(box, &event);
  };
  send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, from);
  send(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, to);
  send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, to);
}

}  // namespace

class ViewShotsTest : public kelvora::testing::WindowTest {
  Q_OBJECT

 private Q_SLOTS:
  void theDemoPadWholeZoomedAndAtOneSamplePerPoint() {
    SimSession session{SimSession::DemoOptions()};
    QVERIFY(session.Connect());
    QCOMPARE(session.Open(2, 1), 1);  // "WARM PAD", looped
    WaveView view(*session.eps);
    session.ui.onRefreshView = [&view] { view.RefreshView(); };
    view.resize(800, 320);
    view.show();
    view.ResetView();

    QImage whole = Shot(&view, "view_whole");
    QCOMPARE(whole.pixel(400, 2), kBlack);           // the open view's background
    QVERIFY(CountColumnsWith(whole, kGreen) > 700);  // peaks across the width
    QCOMPARE(whole.pixel(0, 150), kRed);             // sample start at 0
    QVERIFY(CountColumnsWith(whole, kTeal) >= 2);    // both loop markers

    QWidget* box = view.WaveBox();
    Drag(box, 200, 260);
    view.ZoomIn();
    Drag(box, 300, 420);
    QImage zoomed = Shot(&view, "view_zoomed_selection");
    QVERIFY(view.ScrollBar()->isVisible());
    QCOMPARE(zoomed.pixel(360, 2), kWhite);  // the band inverts the black background
    QCOMPARE(zoomed.pixel(250, 2), kBlack);

    view.JumpTo(session.eps->ViewStart + 100);
    view.SetVerticalScale(6);
    QImage samples = Shot(&view, "view_samples_1to64");
    QCOMPARE(session.eps->ViewStep, 1);
    QVERIFY(CountColumnsWith(samples, qRgb(128, 128, 128)) > 0);  // the centre line

    session.eps->CloseWs();
    view.ResetView();
    QImage closed = Shot(&view, "view_closed");
    QCOMPARE(closed.pixel(400, 150), qRgb(192, 192, 192));
  }

  void theBrowserAndItsDialogs() {
    SimSession session{SimSession::DemoOptions()};
    QVERIFY(session.Connect());
    TOpenWaveForm form(*session.eps);
    QStringList lines;
    {
      ModalWatch<TOpenWaveForm> browser([&](TOpenWaveForm* shown) {
        Shot(shown, "browser_open");
        for (int k = 0; k < shown->InstrumentListBox->count(); ++k)
          lines << shown->InstrumentListBox->item(k)->text();
        shown->reject();
      });
      form.Execute(kelvora::dialogs::bmOpen);
    }
    QCOMPARE(lines, QStringList({"(1) Demo Synth", "(2) Drums", "(3) Pad 2 Layers"}));
    {
      ModalWatch<TOpenWaveForm> browser([&](TOpenWaveForm* shown) {
        Shot(shown, "browser_upload");
        shown->reject();
      });
      form.Execute(kelvora::dialogs::bmUpload);
    }
    kelvora::dialogs::TNoInstrForm noInstr;
    {
      ModalWatch<kelvora::dialogs::TNoInstrForm> watch([](auto* shown) {
        Shot(shown, "no_instruments");
        shown->reject();
      });
      QCOMPARE(noInstr.Execute(), 2);
    }
    kelvora::dialogs::TWsIsCopyForm copy;
    {
      ModalWatch<kelvora::dialogs::TWsIsCopyForm> watch([](auto* shown) {
        Shot(shown, "wavesample_is_a_copy");
        shown->reject();
      });
      QCOMPARE(copy.Execute(1), 2);
    }
    kelvora::dialogs::TRenameInstrForm rename;
    {
      ModalWatch<kelvora::dialogs::TRenameInstrForm> watch([](auto* shown) {
        Shot(shown, "rename_instrument");
        shown->reject();
      });
      QCOMPARE(rename.Execute("Demo Synth"), 2);
    }
    QVERIFY(QFile::exists(ShotPath("browser_open")));
  }
};

QTEST_MAIN(ViewShotsTest)
#include "view_shots_test.moc"
