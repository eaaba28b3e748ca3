#include <QAction>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "app/CommandTable.h"
#include "dialogs/OpenWaveForm.h"
#include "dialogs/WsIsCopyForm.h"
#include "editor/WaveView.h"
#include "protocol/Eps.h"
#include "protocol/Records.h"
#include "support/MainWindowTest.h"
#include "support/Shots.h"
#include "support/WhenModal.h"

using namespace kelvora::app;
using kelvora::dialogs::TOpenWaveForm;
using kelvora::dialogs::TWsIsCopyForm;
using kelvora::testing::WhenModal;

namespace {

// Demo content of the simulated sampler: instrument 1 "DEMO SYNTH" holds 1 SINE (looped),
// 2 DECAY SAW and 3, a parameters-only copy of 1.
void OpenFromTheMenu(TMainForm& form, int waveSampleRow, bool shootBrowser = false) {
  WhenModal<TOpenWaveForm>([=](TOpenWaveForm* browser) {
    browser->InstrumentListBox->setCurrentRow(0);
    browser->WaveSampleListBox->setCurrentRow(waveSampleRow);
    if (shootBrowser) kelvora::testing::Shoot(browser, "open-wavesample-browser");
    browser->OkButton->click();
  });
  form.Commands().Action(Cmd::OpenWavesample)->trigger();
}

void Drag(QWidget* box, int fromX, int toX) {
  const int y = box->height() / 2;
  QTest::mousePress(box, Qt::LeftButton, {}, QPoint(fromX, y));
  QTest::mouseMove(box, QPoint(toX, y));
  QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(toX, y));
}

bool Enabled(TMainForm& form, Cmd command) { return form.Commands().Action(command)->isEnabled(); }

}  // namespace

class OpenTest : public kelvora::testing::MainWindowTest {
  Q_OBJECT

 private Q_SLOTS:
  void init() { QVERIFY(ShowMainWindow(900, 520)); }
  void cleanup() { CloseMainWindow(); }

  void openSelectZoomAndJump() {
    OpenFromTheMenu(*form_, 0, true);
    kelvora::protocol::TEps& eps = form_->Eps();
    QVERIFY(eps.WsOpen);
    QCOMPARE(eps.WaveSample, 1);
    QVERIFY(Enabled(*form_, Cmd::CloseWavesample));
    QVERIFY(!Enabled(*form_, Cmd::ClearData));
    QVERIFY(!Enabled(*form_, Cmd::ZoomOut));
    const int start =
        kelvora::protocol::GetPosition(eps.WsParams, kelvora::protocol::kWsSampleStart);
    QCOMPARE(form_->StatusBar().Text(0), "ws:" + QString::number(start));
    QVERIFY(form_->StatusBar().Text(2).startsWith("ls:"));

    QWidget* box = form_->View().WaveBox();
    Drag(box, box->width() / 4, box->width() / 2);
    QVERIFY(form_->View().HasSelection());
    QVERIFY(form_->StatusBar().Text(4).startsWith("range:"));
    QVERIFY(Enabled(*form_, Cmd::SetLoopStart));
    QVERIFY(Enabled(*form_, Cmd::ZoomIn));

    form_->Commands().Action(Cmd::ZoomIn)->trigger();
    QVERIFY(eps.Zoomed);
    QVERIFY(!form_->View().HasSelection());
    QCOMPARE(form_->StatusBar().Text(4), QString());
    QVERIFY(Enabled(*form_, Cmd::ZoomOut));
    QVERIFY(Enabled(*form_, Cmd::ShowAll));
    Drag(box, box->width() / 3, box->width() / 2);
    QTest::qWait(20);
    const QImage shot = kelvora::testing::Shoot(form_.get(), "main-window-opened-zoomed-selected");
    QVERIFY(kelvora::testing::ColourCount(shot) > 8);

    const int end = kelvora::protocol::GetPosition(eps.WsParams, kelvora::protocol::kWsSampleEnd);
    form_->StatusBarMouseDown(1);
    QVERIFY(!form_->View().HasSelection());
    QCOMPARE(eps.ViewStep, 1);
    QVERIFY(eps.ViewStart <= end && end <= eps.ViewEnd);
    QVERIFY(!Enabled(*form_, Cmd::ZoomIn));
  }

  void copyIsRedirectedToItsSource() {
    bool offered = false;
    WhenModal<TOpenWaveForm>([&](TOpenWaveForm* browser) {
      browser->InstrumentListBox->setCurrentRow(0);
      browser->WaveSampleListBox->setCurrentRow(2);
      WhenModal<TWsIsCopyForm>([&](TWsIsCopyForm* copy) {
        offered = true;
        copy->YesButton->click();
      });
      browser->OkButton->click();
    });
    form_->Commands().Action(Cmd::OpenWavesample)->trigger();
    QVERIFY(offered);
    QVERIFY(form_->Eps().WsOpen);
    QCOMPARE(form_->Eps().WaveSample, 1);
  }

  void closeLeavesAnEmptyView() {
    OpenFromTheMenu(*form_, 1);
    QVERIFY(form_->Eps().WsOpen);
    form_->Commands().Action(Cmd::CloseWavesample)->trigger();
    QVERIFY(!form_->Eps().WsOpen);
    QVERIFY(!Enabled(*form_, Cmd::CloseWavesample));
    for (int panel = 0; panel < StatusPanels::kPanels; ++panel) {
      QCOMPARE(form_->StatusBar().Text(panel), QString());
    }
  }

  void cancelledBrowserOpensNothing() {
    WhenModal<TOpenWaveForm>([](TOpenWaveForm* browser) { browser->CancelButton->click(); });
    form_->Commands().Action(Cmd::OpenWavesample)->trigger();
    QVERIFY(!form_->Eps().WsOpen);
  }
};

QTEST_MAIN(OpenTest)
#include "app_open_test.moc"
