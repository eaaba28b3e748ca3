// The wavesample records the session keeps for the browser's details: which commands make it
// forget them, and the stepwise exchange that reads one without waiting.
#include <gtest/gtest.h>

#include <algorithm>

#include "midi/Midiin.h"
#include "protocol/RecordFetch.h"
#include "protocol/Records.h"
#include "support/SessionFixture.h"

namespace kelvora::testing {
namespace {

using namespace protocol;

// Instrument 1 holds wavesamples 1 and 2 (layer 1); instrument 2 holds wavesample 1.
class RecordsTest : public SessionFixture {
 protected:
  void SetUp() override {
    SessionFixture::SetUp();
    AddInstrument(0, "PIANO");
    AddLayer(0, 0);
    AddWaveSample(0, 0, 1, 1001, 1000);
    AddWaveSample(0, 0, 2, 601, 600);
    AddInstrument(1, "BASS");
    AddLayer(1, 0);
    AddWaveSample(1, 0, 1, 301, 300);
    ASSERT_TRUE(Connect());
    ASSERT_TRUE(eps->ReadConfig());
    TakeSent();
  }
  std::vector<int> SamplerRecord(int instrument, int waveSample) {
    Settle();
    return driver->Sampler().WithMemory([&](sim::SamplerMemory& memory) {
      const int* record = memory.WaveSample(instrument, waveSample)->record.data();
      return std::vector<int>(record, record + kWsRecordWords);
    });
  }
  // Takes the exchange's steps as the sampler's answers arrive.
  void RunToEnd(RecordFetch& fetch) {
    for (int i = 0; i < 10 && !fetch.Advance(); ++i) Settle();
  }
  bool Cached(int instrument, int waveSample) {
    return eps->WsRecords().Find(instrument, waveSample) != nullptr;
  }
  void CacheAll() {
    for (auto [i, w] : {std::pair{0, 1}, {0, 2}, {1, 1}}) {
      const std::vector<int> record = SamplerRecord(i, w);
      eps->WsRecords().Put(i, w, record.data());
    }
  }
};

TEST_F(RecordsTest, AFetchReadsTheRecordInStepsAndLeavesTheSessionAsItWas) {
  eps->Instrument = 1;
  eps->WaveSample = 1;
  std::fill(std::begin(eps->WsParams), std::end(eps->WsParams), 7);
  RecordFetch fetch(*eps);
  fetch.Start(Target{0, 0, 2});
  EXPECT_TRUE(fetch.Busy());
  RunToEnd(fetch);
  ASSERT_EQ(fetch.CurrentState(), RecordFetch::State::Done);
  EXPECT_EQ(std::vector<int>(fetch.Record(), fetch.Record() + kWsRecordWords), SamplerRecord(0, 2));
  EXPECT_EQ(eps->Instrument, 1);
  EXPECT_EQ(eps->WaveSample, 1);
  EXPECT_EQ(eps->WsParams[0], 7);
  EXPECT_EQ(eps->MidiIn->BytesAvailable(), 0u);
  // Exactly the exchange: the request and the one acknowledge of the header.
  EXPECT_EQ(TakeSent(), Bytes([&](ByteSink& s) {
              SendGetWsParams(s, Channel(), Target{0, 0, 2});
              SendAcknowledge(s, Channel());
            }));
}

TEST_F(RecordsTest, ARefusedRecordFailsAndTheNextExchangeIsInStep) {
  RecordFetch fetch(*eps);
  fetch.Start(Target{0, 0, 9});  // no such wavesample
  RunToEnd(fetch);
  EXPECT_EQ(fetch.CurrentState(), RecordFetch::State::Failed);
  fetch.Start(Target{1, 0, 1});
  RunToEnd(fetch);
  EXPECT_EQ(fetch.CurrentState(), RecordFetch::State::Done);
  EXPECT_EQ(fetch.Record()[kWsSampleEnd + 1], SamplerRecord(1, 1)[kWsSampleEnd + 1]);
}

// Someone who must talk to the sampler finishes the exchange first; the session's own commands
// then find their answers where they expect them.
TEST_F(RecordsTest, FinishingMidExchangeKeepsTheConversationInStep) {
  RecordFetch fetch(*eps);
  fetch.Start(Target{0, 0, 1});
  fetch.Finish(2000);
  EXPECT_EQ(fetch.CurrentState(), RecordFetch::State::Done);
  eps->Instrument = 1;
  eps->WaveSample = 1;
  EXPECT_EQ(eps->OpenWs(true), 1);
  EXPECT_EQ(GetPosition(eps->WsParams, kWsSampleEnd), 300);
}

TEST_F(RecordsTest, OpeningCachesTheRecordAndWritingItBackForgetsIt) {
  eps->Instrument = 0;
  eps->WaveSample = 2;
  ASSERT_EQ(eps->OpenWs(true), 1);
  ASSERT_TRUE(Cached(0, 2));
  EXPECT_EQ(GetPosition(eps->WsRecords().Find(0, 2)->data(), kWsSampleEnd), 600);
  eps->WriteWsParams();
  EXPECT_FALSE(Cached(0, 2));
}

TEST_F(RecordsTest, CommandsThatChangeRecordsForgetThem) {
  CacheAll();
  eps->Instrument = 0;
  eps->WaveSample = 1;
  eps->PutParameter(2059, 30);
  EXPECT_FALSE(Cached(0, 1));
  EXPECT_TRUE(Cached(0, 2));
  eps->WaveSample = 5;
  eps->SendCreateWaveSample();  // as an upload into instrument 1 does
  EXPECT_EQ(eps->ProcessInput(), prAck);
  EXPECT_FALSE(Cached(0, 2));
  EXPECT_TRUE(Cached(1, 1));
  CacheAll();
  eps->DeleteWaveSample(0, 2);
  EXPECT_FALSE(Cached(0, 1));
  EXPECT_TRUE(Cached(1, 1));
  eps->DeleteInstrument(1);
  EXPECT_FALSE(Cached(1, 1));
}

TEST_F(RecordsTest, ReadingTheConfigurationDropsWhatIsNoLongerListed) {
  CacheAll();
  driver->Sampler().WithMemory(
      [](sim::SamplerMemory& memory) { return memory.RemoveInstrument(1); });
  ASSERT_TRUE(eps->ReadConfig());
  EXPECT_FALSE(eps->InstrInUse[1]);
  EXPECT_TRUE(Cached(0, 1));
  EXPECT_TRUE(Cached(0, 2));
  EXPECT_FALSE(Cached(1, 1));
}

TEST_F(RecordsTest, ClosingAnEditForgetsTheWholeInstrument) {
  CacheAll();
  eps->Instrument = 0;
  eps->WaveSample = 1;
  ASSERT_EQ(eps->OpenWs(true), 1);
  eps->CloseWs();
  EXPECT_FALSE(Cached(0, 1));  // ending the edit truncates the data
  EXPECT_FALSE(Cached(0, 2));
  EXPECT_TRUE(Cached(1, 1));
}

}  // namespace
}  // namespace kelvora::testing
