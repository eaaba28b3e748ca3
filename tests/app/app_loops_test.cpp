#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include "app/CommandTable.h"
#include "app/InfoStrip.h"
#include "app/LoopTools.h"
#include "app/SeamPanel.h"
#include "dialogs/BrowserDetails.h"
#include "dialogs/OpenWaveForm.h"
#include "editor/SeamMark.h"
#include "editor/SeamView.h"
#include "protocol/Eps.h"
#include "protocol/Records.h"
#include "protocol/Sysex.h"
#include "support/MainWindowTest.h"
#include "support/Shots.h"
#include "support/WhenModal.h"

using namespace kelvora::app;
using namespace kelvora::protocol;
using kelvora::dialogs::BrowserDetails;
using kelvora::editor::SeamSide;
using kelvora::editor::SeamView;
using kelvora::loops::SeamGrade;
using kelvora::sim::LoggedMessage;
using kelvora::testing::WhenModal;

namespace {

// Demo content: instrument 1 "DEMO SYNTH" holds 1 SINE, a sine of 100 samples a cycle, 4400
// samples looped over all of them (Loop Forward, loop 0 .. 4400); instrument 3 "PAD 2 LAYERS"
// holds 1 WARM PAD, 44100 samples of three detuned sines looped from 11025 to the end.
constexpr int kSynth = 0;
constexpr int kPad = 2;

void Open(TMainForm& form, int instrumentRow) {
  WhenModal<kelvora::dialogs::TOpenWaveForm>([=](kelvora::dialogs::TOpenWaveForm* browser) {
    browser->InstrumentListBox->setCurrentRow(instrumentRow);
    browser->WaveSampleListBox->setCurrentRow(0);
    browser->OkButton->click();
  });
  form.Commands().Action(Cmd::OpenWavesample)->trigger();
}

int Word24(const LoggedMessage& m, int index) {
  return (m.words.at(index) << 12) | m.words.at(index + 1);
}

// Types a number into a field of the strip and confirms it with Enter.
void Type(QSpinBox* field, int value) {
  field->setFocus();
  field->selectAll();
  QTest::keyClicks(field, QString::number(value));
  QTest::keyClick(field, Qt::Key_Return);
}

}  // namespace

class LoopsTest : public kelvora::testing::MainWindowTest {
  Q_OBJECT

 private Q_SLOTS:
  void init() { QVERIFY(ShowMainWindow(960, 600)); }
  void cleanup() { CloseMainWindow(); }

  void theStripShowsTheOpenWavesample() {
    QCOMPARE(Strip().Facts()->text(), QString("No wavesample open"));
    QVERIFY(!Field(MarkerPoint::LoopEnd)->isEnabled());
    Open(*form_, kSynth);
    QCOMPARE(Strip().Facts()->text(),
             QString::fromUtf8("Sine \u00b7 4400 samples (0.100 s) \u00b7 44100 Hz \u00b7 root A4 "
                               "\u00b7 keys A0\u2013E4 \u00b7 Loop Forward"));
    QCOMPARE(Field(MarkerPoint::SampleEnd)->value(), 4400);
    QCOMPARE(Field(MarkerPoint::LoopEnd)->value(), 4400);
    QVERIFY(Field(MarkerPoint::LoopStart)->isEnabled());
    // Whole cycles loop without a click.
    QCOMPARE(form_->Loops().Grade(), std::optional(SeamGrade::Smooth));
    QVERIFY(Strip().MarkText()->text().startsWith("Seam: smooth"));
    QTest::qWait(20);  // the strip's layout follows the new texts
    kelvora::testing::Shoot(&Strip(), "info-strip");
  }

  void typedPointsObeyThePointRules() {
    Open(*form_, kSynth);
    form_->Loops().SetSnap(false);
    Type(Field(MarkerPoint::LoopEnd), 5000);  // past the sample end: the last sample before it
    QCOMPARE(SamplerLoop(), std::make_pair(0, 4399));
    Type(Field(MarkerPoint::LoopStart), 4399);  // not before the loop end: just before it
    QCOMPARE(SamplerLoop(), std::make_pair(4398, 4399));
    Type(Field(MarkerPoint::LoopStart), 1234);
    Type(Field(MarkerPoint::SampleStart), 4500);  // not before the sample end
    QCOMPARE(SamplerPosition(kWsSampleStart), 4399);
    QCOMPARE(SamplerLoop(), std::make_pair(1234, 4399));
    QCOMPARE(Field(MarkerPoint::LoopStart)->value(), 1234);
    QCOMPARE(Field(MarkerPoint::SampleStart)->value(), 4399);
    QCOMPARE(form_->StatusBar().Text(2), QString("ls:1234"));
    // The seam was measured again for the new loop start: a cycle cut a third of the way in.
    QCOMPARE(form_->Loops().Grade(), std::optional(SeamGrade::Click));
  }

  void aTypedLoopPointSnapsToARisingCrossingOfTheSamplersData() {
    Open(*form_, kSynth);
    QVERIFY(form_->Loops().Snap());
    QVERIFY(form_->Commands().Action(Cmd::SnapToZero)->isChecked());
    Log().Clear();
    Type(Field(MarkerPoint::LoopStart), 1220);
    const int start = SamplerPosition(kWsLoopStart);
    const auto data = Data(kSynth, 1);
    QVERIFY2(data.at(start - 1) < 0 && data.at(start) >= 0, qPrintable(QString::number(start)));
    QCOMPARE(start, 1200);
    // One read for the snap, then the two of the seam.
    QCOMPARE(Field(MarkerPoint::LoopStart)->value(), 1200);
    const std::vector<LoggedMessage> reads = Messages(kGetWsData);
    QCOMPARE(int(reads.size()), 3);
    QVERIFY(Word24(reads[0], 3) < 1220 - LoopTools::kSnapRadius &&
            Word24(reads[0], 5) > 1220 + LoopTools::kSnapRadius);
    // Out of reach of any crossing the typed number stands.
    Type(Field(MarkerPoint::LoopStart), 1250);
    QCOMPARE(SamplerPosition(kWsLoopStart), 1250);
    QCOMPARE(Field(MarkerPoint::LoopStart)->value(), 1250);
  }

  void theSeamViewReadsItsTwoRangesWithTwoReads() {
    Log().Clear();
    Open(*form_, kSynth);
    form_->Commands().Action(Cmd::LoopSeam)->trigger();
    QVERIFY(form_->Seam().isVisible());
    const std::vector<LoggedMessage> reads = Messages(kGetWsData);
    QCOMPARE(int(reads.size()), 2);
    QCOMPARE(Word24(reads[0], 3), 4400 - LoopTools::kSeamRead);
    QCOMPARE(Word24(reads[0], 5), 4401);  // nothing past the sample end
    QCOMPARE(Word24(reads[1], 3), 0);
    QCOMPARE(Word24(reads[1], 5), LoopTools::kSeamRead);
    const auto& scene = form_->Seam().View()->Scene();
    const auto data = Data(kSynth, 1);
    for (int p = scene.endSide.first; p < scene.endSide.End(); ++p)
      QCOMPARE(scene.endSide.At(p), int(data.at(p)));
    for (int p = 0; p < LoopTools::kSeamRead; ++p) QCOMPARE(scene.startSide.At(p), int(data.at(p)));
    // Hiding and showing it again reads nothing more.
    form_->Commands().Action(Cmd::LoopSeam)->trigger();
    QVERIFY(!form_->Seam().isVisible());
    form_->Commands().Action(Cmd::LoopSeam)->trigger();
    QCOMPARE(int(Messages(kGetWsData).size()), 2);
    kelvora::testing::Shoot(form_->Seam().View(), "loop-seam-view");
  }

  void keysAndDragsMoveThePointsLiveAndWriteOnRelease() {
    Open(*form_, kSynth);
    form_->Loops().SetSeamShown(true);
    SeamView* view = form_->Seam().View();
    view->setFocus();
    QCOMPARE(view->ActiveSide(), SeamSide::LoopEnd);
    // With snapping on, Left goes to the previous rising crossing; the sampler hears of it only
    // when the key is let go.
    QTest::simulateEvent(view, true, Qt::Key_Left, {}, QString(), false);
    QCOMPARE(Field(MarkerPoint::LoopEnd)->value(), 4300);
    QCOMPARE(SamplerLoop(), std::make_pair(0, 4400));
    QTest::simulateEvent(view, false, Qt::Key_Left, {}, QString(), false);
    QCOMPARE(SamplerLoop(), std::make_pair(0, 4300));
    QCOMPARE(form_->Loops().Grade(), std::optional(SeamGrade::Smooth));

    // A drag in the right half moves the loop start, by the samples the pointer went over.
    const int y = view->height() / 2;
    const int from = view->width() * 3 / 4;
    const double spacing = view->width() / (2.0 * SeamView::kShown);
    form_->Loops().SetSnap(false);
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(from, y));
    QTest::mouseMove(view, QPoint(from + int(10.4 * spacing), y));
    QCOMPARE(view->ActiveSide(), SeamSide::LoopStart);
    QCOMPARE(Field(MarkerPoint::LoopStart)->value(), 10);
    QCOMPARE(SamplerLoop(), std::make_pair(0, 4300));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(from + int(10.4 * spacing), y));
    QCOMPARE(SamplerLoop(), std::make_pair(10, 4300));
    QCOMPARE(form_->Loops().Grade(), std::optional(SeamGrade::Click));
  }

  void suggestLoopOnThePadProposesAGreenSeamFromWhatItAnnounced() {
    Open(*form_, kPad);
    int announced = -1;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
      announced = box->text().section(' ', 3, 3).toInt();  // "Suggest Loop reads N samples"
      box->button(QMessageBox::Ok)->click();
    });
    Log().Clear();
    form_->Commands().Action(Cmd::SuggestLoop)->trigger();
    QCOMPARE(announced, 8192);
    int read = 0;
    for (const LoggedMessage& m : Messages(kGetWsData)) read += Word24(m, 5) - Word24(m, 3);
    QVERIFY2(read <= announced, qPrintable(QString::number(read)));
    QVERIFY(form_->Loops().ProposalShown());
    QVERIFY(form_->Seam().isVisible());
    QCOMPARE(form_->Loops().Grade(), std::optional(SeamGrade::Smooth));
    QCOMPARE(form_->Seam().View()->Scene().startSide.first, 22050);  // the last half
    QTest::qWait(20);
    kelvora::testing::Shoot(&form_->Seam(), "loop-seam-proposal");
    kelvora::testing::Shoot(form_.get(), "main-window-loop-tools");
    const auto proposal = std::make_pair(form_->Seam().View()->Scene().loopStart,
                                         form_->Seam().View()->Scene().loopEnd);
    QCOMPARE(SamplerLoop(), std::make_pair(11025, 44100));  // nothing written yet

    form_->Seam().AcceptButton()->click();
    QVERIFY(!form_->Loops().ProposalShown());
    QCOMPARE(SamplerLoop(), proposal);
    QCOMPARE(form_->Loops().Grade(), std::optional(SeamGrade::Smooth));
  }

  // The browser's line for a wavesample whose length was changed in the strip is read again.
  void theBrowserShowsALengthTypedInTheStrip() {
    Open(*form_, kSynth);
    Type(Field(MarkerPoint::LoopEnd), 2000);  // the sample end never falls inside the loop
    Type(Field(MarkerPoint::SampleEnd), 3000);
    QString details;
    WhenModal<kelvora::dialogs::TOpenWaveForm>([&](kelvora::dialogs::TOpenWaveForm* browser) {
      QTRY_VERIFY(!BrowserDetails::DetailsOf(browser->WaveSampleListBox, 0).isEmpty());
      details = BrowserDetails::DetailsOf(browser->WaveSampleListBox, 0);
      browser->reject();
    });
    form_->Commands().Action(Cmd::OpenWavesample)->trigger();
    QCOMPARE(details, QString::fromUtf8("3000 samples (0.068 s), 44100 Hz, root A4, A0\u2013E4, "
                                        "Loop Forward"));
  }

  void aDismissedProposalChangesNothing() {
    Open(*form_, kPad);
    WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Ok)->click(); });
    form_->Commands().Action(Cmd::SuggestLoop)->trigger();
    QVERIFY(form_->Loops().ProposalShown());
    Log().Clear();
    QTest::keyClick(form_->Seam().View(), Qt::Key_Escape);
    QVERIFY(!form_->Loops().ProposalShown());
    QVERIFY(Log().Messages().empty());
    QCOMPARE(SamplerLoop(), std::make_pair(11025, 44100));
    QCOMPARE(Field(MarkerPoint::LoopStart)->value(), 11025);
    // Cancel at the announcement reads nothing.
    WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Cancel)->click(); });
    form_->Commands().Action(Cmd::SuggestLoop)->trigger();
    QVERIFY(Log().Messages().empty());
  }

 private:
  InfoStrip& Strip() { return form_->Strip(); }
  QSpinBox* Field(MarkerPoint point) { return Strip().Field(point); }
  kelvora::sim::SimulatedSampler& Sampler() { return machine_->Sampler().Sampler(); }
  // The sampler's log once it has handled everything sent so far.
  kelvora::sim::SamplerLog& Log() {
    machine_->Sampler().WaitIdle();
    Sampler().WaitIdle(std::chrono::seconds(5));
    machine_->Sampler().WaitIdle();
    return Sampler().Log();
  }
  std::vector<LoggedMessage> Messages(int type) {
    Sampler().WaitIdle(std::chrono::seconds(5));
    std::vector<LoggedMessage> found;
    for (const LoggedMessage& m : Log().Messages()) {
      if (m.type == type) found.push_back(m);
    }
    return found;
  }
  kelvora::sim::WaveData Data(int instrument, int waveSample) {
    return Sampler().WithMemory(
        [=](kelvora::sim::SamplerMemory& m) { return *m.Data(instrument, waveSample); });
  }
  int SamplerPosition(int index) {
    Sampler().WaitIdle(std::chrono::seconds(5));
    const int instrument = form_->Eps().Instrument;
    const int waveSample = form_->Eps().WaveSample;
    return Sampler().WithMemory([=](kelvora::sim::SamplerMemory& m) {
      return GetPosition(m.WaveSample(instrument, waveSample)->record.data(), index);
    });
  }
  std::pair<int, int> SamplerLoop() {
    return {SamplerPosition(kWsLoopStart), SamplerPosition(kWsLoopEnd)};
  }
};

QTEST_MAIN(LoopsTest)
#include "app_loops_test.moc"
