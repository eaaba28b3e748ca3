#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>
#include <algorithm>
#include <cstdlib>

#include "app/CommandTable.h"
#include "app/PointRules.h"
#include "app/ScaleSegments.h"
#include "dialogs/OpenWaveForm.h"
#include "dialogs/PBModeForm.h"
#include "dialogs/ScaleDataForm.h"
#include "editor/WavePainter.h"
#include "editor/WaveView.h"
#include "protocol/Eps.h"
#include "protocol/Sysex.h"
#include "sim/SamplerStatus.h"
#include "support/MainWindowTest.h"
#include "support/WhenModal.h"

using namespace kelvora::app;
using namespace kelvora::protocol;
using kelvora::sim::LoggedMessage;
using kelvora::sim::WaveData;
using kelvora::testing::WhenModal;

namespace {

// Demo instrument 1: wavesample 1 "SINE" (4400 samples, Loop Forward over all of it) and
// 2 "DECAY SAW" (22050 samples, no loop, peak 0.7 of full scale).
constexpr int kSine = 0;
constexpr int kSaw = 1;

void Open(TMainForm& form, int row) {
  WhenModal<kelvora::dialogs::TOpenWaveForm>([=](kelvora::dialogs::TOpenWaveForm* browser) {
    browser->InstrumentListBox->setCurrentRow(0);
    browser->WaveSampleListBox->setCurrentRow(row);
    browser->OkButton->click();
  });
  form.Commands().Action(Cmd::OpenWavesample)->trigger();
}

int ColumnOf(QWidget* box, int point) {
  const kelvora::editor::WavePainter painter(box->width(), box->height());
  for (int c = 0; c < box->width(); ++c) {
    if (painter.PointAt(c) == point) return c;
  }
  return -1;
}

// Shows first .. first + 1023 at two samples per point and drags over first .. last (an even
// count of samples) as the user would.
void Select(TMainForm& form, int first, int last) {
  TEps& eps = form.Eps();
  eps.SetViewEnd(first + 1024);
  eps.SetViewStart(first);
  eps.RefreshOverview();
  QWidget* box = form.View().WaveBox();
  const int y = box->height() / 2;
  const QPoint to(ColumnOf(box, (last - first + 1) / 2 - 1), y);
  QTest::mousePress(box, Qt::LeftButton, {}, QPoint(ColumnOf(box, 0), y));
  QTest::mouseMove(box, to);
  QTest::mouseRelease(box, Qt::LeftButton, {}, to);
  QCOMPARE(form.View().SelStart(), first);
  QCOMPARE(form.View().SelEnd(), last);
}

int Word24(const LoggedMessage& m, int index) {
  return (m.words.at(index) << 12) | m.words.at(index + 1);
}

}  // namespace

class EditTest : public kelvora::testing::MainWindowTest {
  Q_OBJECT

 private Q_SLOTS:
  void init() { QVERIFY(ShowMainWindow(900, 520)); }
  void cleanup() { CloseMainWindow(); }

  void pointRulesKeepTheirPairInOrder() {
    int ws[kWsRecordWords] = {};
    auto set = [&](int start, int end, int loopStart, int loopEnd, int mode) {
      SetPosition(ws, kWsSampleStart, start);
      SetPosition(ws, kWsSampleEnd, end);
      SetPosition(ws, kWsLoopStart, loopStart);
      SetPosition(ws, kWsLoopEnd, loopEnd);
      ws[kWsPlaybackMode] = mode;
    };
    set(100, 4000, 500, 3000, kLoopForward);
    ApplySampleStart(ws, 5000);
    QCOMPARE(GetPosition(ws, kWsSampleStart), 3999);
    ApplySampleStart(ws, 200);
    QCOMPARE(GetPosition(ws, kWsSampleStart), 200);

    set(100, 4000, 500, 3000, kForwardNoLoop);
    ApplySampleEnd(ws, 50);
    QCOMPARE(GetPosition(ws, kWsSampleEnd), 101);
    set(100, 4000, 500, 3000, kLoopBidirectional);
    ApplySampleEnd(ws, 50);
    QCOMPARE(GetPosition(ws, kWsSampleEnd), 3001);
    ApplySampleEnd(ws, 3000);
    QCOMPARE(GetPosition(ws, kWsSampleEnd), 3000);

    set(100, 4000, 500, 3000, kLoopForward);
    ApplyLoopEnd(ws, 5000);
    QCOMPARE(GetPosition(ws, kWsLoopEnd), 3999);
    ApplyLoopEnd(ws, 400);
    QCOMPARE(GetPosition(ws, kWsLoopEnd), 501);
    SetPosition(ws, kWsLoopStart, 100);
    ApplyLoopStart(ws, 3500);
    QCOMPARE(GetPosition(ws, kWsLoopStart), 500);
    set(100, 1000, 500, 3000, kLoopForward);
    ApplyLoopStart(ws, 2000);
    QCOMPARE(GetPosition(ws, kWsLoopStart), 999);
    QCOMPARE(GetPosition(ws, kWsSampleStart), 100);
  }

  void envelopeSegmentsJoinAndSkipEmptyOnes() {
    QCOMPARE(ScaleSegments({{1000, 256}, {1500, 512}, {1999, 0}}),
             (std::vector<ScaleSegment>{{1000, 1501, 256, 512}, {1501, 2000, 512, 0}}));
    // Two nodes on one sample enclose nothing; the ramp after them starts at the second's level.
    QCOMPARE(ScaleSegments({{0, 256}, {40, 300}, {40, 512}, {99, 256}}),
             (std::vector<ScaleSegment>{{0, 41, 256, 300}, {41, 100, 512, 256}}));
  }

  void dataCommandsEditTheSamplerMemory() {
    Open(*form_, kSaw);
    const WaveData before = Data();
    Select(*form_, 1000, 1999);

    Run(Cmd::FadeIn);
    QCOMPARE(Range(Last(kFadeIn)), std::make_pair(1000, 1999));
    QCOMPARE(Data()[1000], int16_t(0));
    Run(Cmd::FadeOut);
    QCOMPARE(Range(Last(kFadeOut)), std::make_pair(1000, 2000));
    Run(Cmd::ClearData);
    WaveData after = Data();
    QVERIFY(std::all_of(&after[1000], &after[2000], [](int16_t v) { return v == 0; }));
    QCOMPARE(after[999], before[999]);
    QCOMPARE(after[2000], before[2000]);
    // The picture shows the cleared range: points 0..499 of the window 1000..2023.
    TEps& eps = form_->Eps();
    QVERIFY(std::all_of(eps.Overview, eps.Overview + 500, [](int v) { return v == 0; }));
    QVERIFY(std::any_of(eps.Overview + 500, eps.Overview + 512, [](int v) { return v != 0; }));
    QCOMPARE(form_->View().SelStart(), 1000);
    QCOMPARE(form_->View().SelEnd(), 1999);

    Select(*form_, 3000, 3999);
    Run(Cmd::ReverseData);
    after = Data();
    for (int i = 3000; i < 4000; ++i) QCOMPARE(after[i], before[6999 - i]);
    QCOMPARE(after[4000], before[4000]);

    Run(Cmd::NormalizeGain);
    QVERIFY(Peak(before) < 23000);
    QVERIFY(Peak(Data()) >= 32000);

    // The edits left the whole-wavesample picture stale: showing it all asks the sampler again.
    Log().Clear();
    Run(Cmd::ShowAll);
    QVERIFY(!eps.Zoomed);
    QVERIFY(Last(kGetOverview) != nullptr);
    QCOMPARE(Range(Last(kGetOverview)).first, 0);
  }

  void scaleDataSendsOneCommandPerSegment() {
    Open(*form_, kSaw);
    Select(*form_, 1000, 1999);
    WhenModal<kelvora::dialogs::TScaleDataForm>([](kelvora::dialogs::TScaleDataForm* d) {
      d->DepthScrollBar()->setValue(3);
      QWidget* box = d->ScaleBox();
      QTest::mousePress(box, Qt::LeftButton, {}, QPoint(box->width() / 2, box->height() / 4));
      QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(box->width() / 2, box->height() / 4));
      d->OkButton()->click();
    });
    Log().Clear();
    Run(Cmd::ScaleData);
    std::vector<LoggedMessage> scales;
    for (const LoggedMessage& m : Log().Messages()) {
      if (m.type == kScaleData) scales.push_back(m);
    }
    QCOMPARE(int(scales.size()), 2);
    int position = 0, level = 0, midLevel = 0;
    const auto* dialog = Dialog<kelvora::dialogs::TScaleDataForm>();
    QVERIFY(dialog != nullptr && dialog->GetNode(1, position, midLevel));
    QVERIFY(position > 1000 && position < 1999);
    QCOMPARE(Range(&scales[0]), std::make_pair(1000, position + 1));
    QCOMPARE(Range(&scales[1]), std::make_pair(position + 1, 2000));
    QVERIFY(dialog->GetNode(0, position, level));
    QCOMPARE(Word24(scales[0], 7), level);
    QCOMPARE(Word24(scales[0], 9), midLevel);
    QCOMPARE(Word24(scales[1], 7), midLevel);
    QCOMPARE(scales[1].words.at(11), 3);
    QCOMPARE(scales[1].status, int(kelvora::sim::kAck));
    QVERIFY(Last(kGetOverview) != nullptr);

    WhenModal<kelvora::dialogs::TScaleDataForm>(
        [](kelvora::dialogs::TScaleDataForm* d) { d->CancelButton()->click(); });
    Log().Clear();
    Run(Cmd::ScaleData);
    QVERIFY(Log().Messages().empty());
  }

  void markerCommandsSendTheRecord() {
    Open(*form_, kSine);
    Select(*form_, 1000, 1999);
    Run(Cmd::SetSampleStart);
    Run(Cmd::SetLoopEnd);
    const kelvora::sim::WsRecord record = SamplerRecord();
    QCOMPARE(GetPosition(record.data(), kWsSampleStart), 1000);
    QCOMPARE(GetPosition(record.data(), kWsLoopEnd), 1999);
    QCOMPARE(form_->StatusBar().Text(0), QString("ws:1000"));
    QCOMPARE(form_->StatusBar().Text(3), QString("le:1999"));
  }

  void playbackModeWithoutLoopDropsTheLoopCommandsAndMarkers() {
    Open(*form_, kSine);
    // The whole wavesample is shown, so the loop markers at its ends are in the picture.
    QWidget* box = form_->View().WaveBox();
    QTest::mousePress(box, Qt::LeftButton, {}, QPoint(box->width() / 4, box->height() / 2));
    QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(box->width() / 4, box->height() / 2));
    const QImage looped = form_->View().WaveBox()->grab().toImage();
    QVERIFY(Action(Cmd::SetLoopStart)->isEnabled());

    WhenModal<kelvora::dialogs::TPBModeForm>([](kelvora::dialogs::TPBModeForm* d) {
      d->PBModeGroup()->button(1)->click();
      d->CancelButton()->click();
    });
    Log().Clear();
    Run(Cmd::SetPlaybackMode);
    QVERIFY(Log().Messages().empty());
    QCOMPARE(form_->Eps().WsParams[kWsPlaybackMode], int(kLoopForward));

    WhenModal<kelvora::dialogs::TPBModeForm>([](kelvora::dialogs::TPBModeForm* d) {
      d->PBModeGroup()->button(0)->click();
      d->OkButton()->click();
    });
    Run(Cmd::SetPlaybackMode);
    QCOMPARE(SamplerRecord()[kWsPlaybackMode], int(kForwardNoLoop));
    QVERIFY(!Action(Cmd::SetLoopStart)->isEnabled());
    QVERIFY(!Action(Cmd::SetLoopEnd)->isEnabled());
    QCOMPARE(form_->StatusBar().Text(2), QString());
    QVERIFY(box->grab().toImage() != looped);
  }

 private:
  // The dialogs declare no meta-object of their own, so they are told apart by their C++ type.
  template <class T>
  T* Dialog() {
    for (QDialog* d : form_->findChildren<QDialog*>()) {
      if (auto* t = dynamic_cast<T*>(d)) return t;
    }
    return nullptr;
  }
  QAction* Action(Cmd command) { return form_->Commands().Action(command); }
  // Runs a command from the menu; a data command must have fetched a fresh picture.
  void Run(Cmd command) {
    const bool dataCommand =
        command >= Cmd::ClearData && command <= Cmd::FadeOut && command != Cmd::ScaleData;
    if (dataCommand) Log().Clear();
    QVERIFY2(Action(command)->isEnabled(), qPrintable(Action(command)->text()));
    Action(command)->trigger();
    QVERIFY(Sampler().WaitIdle(std::chrono::seconds(5)));
    if (dataCommand) QVERIFY2(Last(kGetOverview) != nullptr, qPrintable(Action(command)->text()));
  }
  kelvora::sim::SimulatedSampler& Sampler() { return machine_->Sampler().Sampler(); }
  kelvora::sim::SamplerLog& Log() { return Sampler().Log(); }
  WaveData Data() {
    return Sampler().WithMemory([](kelvora::sim::SamplerMemory& m) { return *m.Data(0, 2); });
  }
  kelvora::sim::WsRecord SamplerRecord() {
    return Sampler().WithMemory(
        [](kelvora::sim::SamplerMemory& m) { return m.WaveSample(0, 1)->record; });
  }
  static int Peak(const WaveData& data) {
    int peak = 0;
    for (int16_t v : data) peak = std::max(peak, std::abs(int(v)));
    return peak;
  }
  // The last message of a type the sampler received, nullptr when none; kept until the next call.
  const LoggedMessage* Last(int type) {
    messages_ = Log().Messages();
    for (auto m = messages_.rbegin(); m != messages_.rend(); ++m) {
      if (m->type == type) return &*m;
    }
    return nullptr;
  }
  static std::pair<int, int> Range(const LoggedMessage* m) {
    return m ? std::make_pair(Word24(*m, 3), Word24(*m, 5)) : std::make_pair(-1, -1);
  }

  std::vector<LoggedMessage> messages_;
};

QTEST_MAIN(EditTest)
#include "app_edit_test.moc"
