// The browser's details: the lazy reader of wavesample records, the words of a detail line, and
// the browser filling its lines for the simulated sampler's demo content.
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "dialogs/BrowserDetails.h"
#include "dialogs/OpenWaveForm.h"
#include "dialogs/WsFacts.h"
#include "protocol/Records.h"
#include "protocol/WsDetailReader.h"
#include "support/ModalWatch.h"
#include "support/Shots.h"
#include "support/SimSession.h"
#include "support/WindowTest.h"

using kelvora::dialogs::BrowserDetails;
using kelvora::dialogs::TOpenWaveForm;
using kelvora::protocol::Target;
using kelvora::protocol::WsDetailReader;
using kelvora::testing::ModalWatch;
using kelvora::testing::SimSession;
namespace protocol = kelvora::protocol;

namespace {

// The demo's first instrument: 1 SINE, 2 DECAY SAW and 3, a parameters-only copy of 1.
const QStringList kSynthDetails = {
    QString::fromUtf8("4400 samples (0.100 s), 44100 Hz, root A4, A0\u2013E4, Loop Forward"),
    QString::fromUtf8("22050 samples (0.500 s), 44100 Hz, root A3, F4\u2013C7, Forward - No Loop"),
    QString::fromUtf8(
        "4400 samples (0.100 s), 44100 Hz, root A5, C7+\u2013C8, Loop Forward, copy of 1")};

QStringList DetailsOf(const QListWidget* box) {
  QStringList details;
  for (int line = 0; line < box->count(); ++line) details << BrowserDetails::DetailsOf(box, line);
  return details;
}

int Requests(SimSession& session, int type) {
  int count = 0;
  for (const auto& m : session.Messages()) count += m.type == type;
  return count;
}

}  // namespace

class BrowserDetailsTest : public kelvora::testing::WindowTest {
  Q_OBJECT

 private Q_SLOTS:
  void detailLinesSayWhatTheRecordSays() {
    int record[protocol::kWsRecordWords];
    protocol::ResetWsParams(record);
    protocol::SetPosition(record, protocol::kWsSampleStart, 100);
    protocol::SetPosition(record, protocol::kWsSampleEnd, 101);
    record[protocol::kWsRate] = protocol::RateWordForSampleRate(22050);
    record[protocol::kWsLowKey] = record[protocol::kWsHighKey] = 60 << 8;
    record[protocol::kWsPlaybackMode] = 0x500;  // none of the five
    const auto facts = kelvora::dialogs::FactsOf(record);
    QCOMPARE(kelvora::dialogs::DetailText(facts),
             QString("1 sample (0.000 s), 22321 Hz, root C4, C4, Mode 0x500"));
    protocol::SetPosition(record, protocol::kWsSampleStart, 500);  // a start past the end
    QCOMPARE(kelvora::dialogs::FactsOf(record).Length(), 0);
  }

  // The records land in the cache; the session's target and record stay as they were.
  void theReaderFillsTheCacheAndLeavesTheSessionAlone() {
    SimSession session(SimSession::DemoOptions());
    QVERIFY(session.Connect());
    session.eps->Instrument = 2;
    session.eps->WaveSample = 2;
    session.eps->WsParams[0] = 77;
    WsDetailReader reader(*session.eps);
    QSignalSpy arrived(&reader, &WsDetailReader::Arrived);
    QSignalSpy failed(&reader, &WsDetailReader::Failed);
    reader.Queue({Target{0, 0, 1}, Target{0, 0, 2}, Target{0, 0, 99}, Target{0, 0, 1}});
    QTRY_VERIFY(!reader.Reading());
    QCOMPARE(arrived.count(), 2);
    QCOMPARE(failed.count(), 1);  // there is no wavesample 99
    QCOMPARE(session.eps->Instrument, 2);
    QCOMPARE(session.eps->WaveSample, 2);
    QCOMPARE(session.eps->WsParams[0], 77);
    const auto* sine = session.eps->WsRecords().Find(0, 1);
    QVERIFY(sine != nullptr);
    QCOMPARE(protocol::GetPosition(sine->data(), protocol::kWsSampleEnd), 4400);
    // Asked again, the cache answers without a word to the sampler.
    session.ClearLog();
    reader.Queue({Target{0, 0, 1}});
    QTRY_COMPARE(arrived.count(), 3);
    QCOMPARE(Requests(session, protocol::kGetWsParams), 0);
  }

  // Stop finishes the exchange under way and starts no other, so the session's next command
  // finds its own answers.
  void stoppingEndsTheReadingBetweenTwoExchanges() {
    SimSession session(SimSession::DemoOptions());
    QVERIFY(session.Connect());
    session.driver->SetWireRate(3125);  // 31250 baud: a record takes about 0.15 s
    WsDetailReader reader(*session.eps);
    QSignalSpy arrived(&reader, &WsDetailReader::Arrived);
    // Queued at the first record, so it runs once the second request has gone out.
    connect(
        &reader, &WsDetailReader::Arrived, &reader, [&] { reader.Stop(); }, Qt::QueuedConnection);
    reader.Queue({Target{0, 0, 1}, Target{0, 0, 2}, Target{2, 0, 1}});
    QTRY_VERIFY(!reader.Reading());
    QCOMPARE(arrived.count(), 2);
    QCOMPARE(session.eps->WsRecords().Find(2, 1), nullptr);
    QCOMPARE(Requests(session, protocol::kGetWsParams), 2);
    session.driver->SetWireRate(0);
    QCOMPARE(session.Open(0, 2), 1);
    QCOMPARE(protocol::GetPosition(session.eps->WsParams, protocol::kWsSampleEnd), 22050);
  }

  void theBrowserFillsItsLinesWithTheDetailsAndCountsThem() {
    SimSession session(SimSession::DemoOptions());
    QVERIFY(session.Connect());
    TOpenWaveForm form(*session.eps);
    QStringList instruments;
    QStringList waveSamples;
    ModalWatch<TOpenWaveForm> browser([&](TOpenWaveForm* f) {
      QTRY_VERIFY(!DetailsOf(f->WaveSampleListBox).contains(QString()));
      instruments = DetailsOf(f->InstrumentListBox);
      waveSamples = DetailsOf(f->WaveSampleListBox);
      QCOMPARE(f->WaveSampleListBox->item(0)->text(), QString("WaveSample 1"));
      kelvora::testing::Shoot(f, "browser-details");
      f->reject();
    });
    QCOMPARE(form.Execute(kelvora::dialogs::bmOpen), 2);
    QCOMPARE(instruments, QStringList({"1 layer, 3 wavesamples", "1 layer, 1 wavesample",
                                       "2 layers, 2 wavesamples"}));
    QCOMPARE(waveSamples, kSynthDetails);
  }

  // A second run lists at once what the first read; a record written back is read again.
  void recordsAreCachedUntilAnEditChangesThem() {
    SimSession session(SimSession::DemoOptions());
    QVERIFY(session.Connect());
    TOpenWaveForm form(*session.eps);
    QStringList atOnce;
    QStringList later;
    ModalWatch<TOpenWaveForm> first([&](TOpenWaveForm* f) {
      QTRY_VERIFY(!DetailsOf(f->WaveSampleListBox).contains(QString()));
      f->reject();
    });
    form.Execute(kelvora::dialogs::bmOpen);
    QCOMPARE(session.Open(0, 2), 1);
    protocol::SetPosition(session.eps->WsParams, protocol::kWsSampleEnd, 11025);
    session.eps->WriteWsParams();
    session.ClearLog();
    ModalWatch<TOpenWaveForm> second([&](TOpenWaveForm* f) {
      atOnce = DetailsOf(f->WaveSampleListBox);
      QTRY_VERIFY(!DetailsOf(f->WaveSampleListBox).contains(QString()));
      later = DetailsOf(f->WaveSampleListBox);
      f->reject();
    });
    form.Execute(kelvora::dialogs::bmOpen);
    QCOMPARE(atOnce.at(0), kSynthDetails[0]);
    QCOMPARE(atOnce.at(2), kSynthDetails[2]);
    QCOMPARE(later[1],
             QString::fromUtf8(
                 "11025 samples (0.250 s), 44100 Hz, root A3, F4\u2013C7, Forward - No Loop"));
    QCOMPARE(Requests(session, protocol::kGetWsParams), 1);
  }
};

QTEST_MAIN(BrowserDetailsTest)
#include "browser_details_test.moc"
