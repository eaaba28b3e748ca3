#include <gtest/gtest.h>

#include <cmath>

#include "protocol/Records.h"
#include "sim/SamplerStatus.h"
#include "sim_support.h"

namespace kelvora::sim::test {
namespace {

using namespace protocol;

WaveData Ramp(int size) {
  WaveData data(size);
  for (int i = 0; i < size; ++i) data[i] = static_cast<int16_t>(i);
  return data;
}

class Commands : public ::testing::Test {
 protected:
  int Status(const std::function<void(ByteSink&)>& build) {
    h.Host(build);
    const std::vector<int> statuses = h.Statuses();
    return statuses.empty() ? -1 : statuses.back();
  }
  const WaveData& Data(int w = 1) { return *h.memory.Data(0, w); }

  EngineHarness h;
  const Target t{0, 0, 1};
};

TEST_F(Commands, CreateAndDeleteFollowTheMakersRules) {
  const Target in3{3, 0, 1};
  EXPECT_EQ(Status([](ByteSink& s) { SendCreateInstrument(s, 1, 3); }), kAck);
  EXPECT_EQ(Status([](ByteSink& s) { SendCreateInstrument(s, 1, 3); }), kInstrumentInUse);
  EXPECT_EQ(Status([&](ByteSink& s) { SendCreateWaveSample(s, 1, in3); }), kNoLayer);
  EXPECT_EQ(Status([](ByteSink& s) { SendCreateLayer(s, 1, 3); }), kAck);
  ASSERT_NE(h.memory.WaveSample(3, 1), nullptr);  // a new layer comes with one wavesample
  const WaveData& square = *h.memory.Data(3, 1);
  ASSERT_EQ(square.size(), 64u);
  EXPECT_EQ(square[0], 16384);
  EXPECT_EQ(square[63], -16384);
  const int* record = h.memory.WaveSample(3, 1)->record.data();
  EXPECT_EQ(GetPosition(record, kWsSampleEnd), 64);
  EXPECT_EQ(record[kWsPlaybackMode], kLoopForward);

  // Layer 0 is taken: the host's "layer 0" gets the next free layer and wavesample.
  EXPECT_EQ(Status([](ByteSink& s) { SendCreateLayer(s, 1, 3); }), kAck);
  EXPECT_EQ(h.memory.WaveSample(3, 2)->layer, 1);
  EXPECT_EQ(Status([](ByteSink& s) { SendCreateWaveSample(s, 1, Target{3, 1, 5}); }), kAck);
  EXPECT_EQ(Status([](ByteSink& s) {
              SendCreateWaveSample(s, 1, Target{3, 1, 5});
            }),
            kWaveSampleInUse);
  EXPECT_EQ(Status([](ByteSink& s) { SendDeleteWaveSample(s, 1, Target{3, 1, 5}); }), kAck);
  EXPECT_EQ(Status([](ByteSink& s) {
              SendDeleteWaveSample(s, 1, Target{3, 1, 5});
            }),
            kNoWaveSample);
  EXPECT_EQ(Status([](ByteSink& s) { SendDeleteLayer(s, 1, 3, 1); }), kAck);
  EXPECT_EQ(h.memory.WaveSample(3, 2), nullptr);
  EXPECT_EQ(Status([](ByteSink& s) { SendDeleteLayer(s, 1, 3, 1); }), kNoLayer);
  for (int n = 1; n < kLayers; ++n) Status([](ByteSink& s) { SendCreateLayer(s, 1, 3); });
  EXPECT_EQ(Status([](ByteSink& s) { SendCreateLayer(s, 1, 3); }), kNoMoreLayers);
  EXPECT_EQ(Status([](ByteSink& s) { SendDeleteInstrument(s, 1, 3); }), kAck);
  EXPECT_EQ(Status([](ByteSink& s) { SendDeleteInstrument(s, 1, 3); }), kNoInstrument);
  EXPECT_EQ(Status([](ByteSink& s) { SendCreateLayer(s, 1, 3); }), kNoInstrument);
}

TEST_F(Commands, TruncateKeepsStartToEndAndMovesEveryPosition) {
  AddWaveSample(h.memory, 0, 1, Ramp(1000));
  WsRecord record = Record(100, 900, 200, 800);
  record[kWsLoopEnd + 3] = 0x5A00;  // a fraction of a sample below the loop end
  h.memory.PutWsRecord(0, 1, record.data());
  ASSERT_EQ(h.memory.AddParameterCopy(0, 0, 2, 1, Record(150, 950, 0, 0)), kAck);

  EXPECT_EQ(Status([&](ByteSink& s) { SendEndEdit(s, 1, t); }), kAck);
  ASSERT_EQ(Data().size(), 800u);
  EXPECT_EQ(Data()[0], 100);
  EXPECT_EQ(Data()[799], 899);
  const int* kept = h.memory.WaveSample(0, 1)->record.data();
  EXPECT_EQ(GetPosition(kept, kWsSampleStart), 0);
  EXPECT_EQ(GetPosition(kept, kWsSampleEnd), 800);
  EXPECT_EQ(GetPosition(kept, kWsLoopStart), 100);
  EXPECT_EQ(GetPosition(kept, kWsLoopEnd), 700);
  EXPECT_EQ(kept[kWsLoopEnd + 3], 0x5A00);
  const int* copy = h.memory.WaveSample(0, 2)->record.data();
  EXPECT_EQ(GetPosition(copy, kWsSampleStart), 50);
  EXPECT_EQ(GetPosition(copy, kWsSampleEnd), 800);  // clamped to the data left
  EXPECT_EQ(GetPosition(copy, kWsLoopStart), 0);

  EXPECT_EQ(Status([](ByteSink& s) { SendEndEdit(s, 1, Target{0, 0, 2}); }), kIsCopy);
  record = Record(500, 400);
  h.memory.PutWsRecord(0, 1, record.data());
  EXPECT_EQ(Status([&](ByteSink& s) { SendEndEdit(s, 1, t); }), kBadDataRange);
}

// What opening a wavesample of 1000 samples for editing sends: the data is extended by copies
// of its start and the part after the sample end is cleared, one past the copied data.
TEST_F(Commands, CopyAndClearExtendTheDataAsOpeningNeeds) {
  AddWaveSample(h.memory, 0, 1, Ramp(1000));
  EXPECT_EQ(Status([&](ByteSink& s) { SendCopyData(s, 1, t, t, 0, 1000, 1000); }), kAck);
  ASSERT_EQ(Data().size(), 2000u);
  EXPECT_EQ(Data()[1999], 999);
  EXPECT_EQ(Status([&](ByteSink& s) { SendCopyData(s, 1, t, t, 0, 48, 2000); }), kAck);
  EXPECT_EQ(Data().size(), 2048u);
  EXPECT_EQ(Status([&](ByteSink& s) { SendClearData(s, 1, t, 1001, 2049); }), kAck);
  ASSERT_EQ(Data().size(), 2049u);
  EXPECT_EQ(Data()[999], 999);
  EXPECT_EQ(Data()[1001], 0);
  EXPECT_EQ(Data()[2048], 0);

  EXPECT_EQ(Status([&](ByteSink& s) { SendCopyData(s, 1, t, t, 0, 10, 2050); }), kBadDataRange);
  EXPECT_EQ(Status([&](ByteSink& s) { SendCopyData(s, 1, t, t, 2000, 2050, 0); }), kBadDataRange);
  EXPECT_EQ(Status([&](ByteSink& s) { SendClearData(s, 1, t, 10, 10); }), kBadDataRange);
  // Overlapping ranges read the source before writing.
  EXPECT_EQ(Status([&](ByteSink& s) { SendCopyData(s, 1, t, t, 0, 10, 5); }), kAck);
  EXPECT_EQ(Data()[14], 9);
  ASSERT_EQ(h.memory.AddParameterCopy(0, 0, 2, 1, Record(0, 10)), kAck);
  const Target copy{0, 0, 2};
  EXPECT_EQ(Status([&](ByteSink& s) { SendCopyData(s, 1, t, copy, 0, 10, 0); }), kIsCopy);
  EXPECT_EQ(Status([&](ByteSink& s) { SendCopyData(s, 1, copy, t, 0, 10, 2049); }), kAck);
  EXPECT_EQ(Status([&](ByteSink& s) { SendClearData(s, 1, copy, 0, 10); }), kIsCopy);
}

TEST_F(Commands, ScaleRampsGainBetweenTheTwoLevels) {
  AddWaveSample(h.memory, 0, 1, WaveData(1000, 1000));
  EXPECT_EQ(Status([&](ByteSink& s) { SendScaleData(s, 1, t, 0, 100, 0x0140, 0x0140, 3); }), kAck);
  EXPECT_EQ(Data()[0], 1500);  // 0x0140: 1 + 64/128
  EXPECT_EQ(Data()[99], 1500);
  EXPECT_EQ(Status([&](ByteSink& s) { SendScaleData(s, 1, t, 100, 200, 0xFF7F, 0x0040, 0); }),
            kAck);
  EXPECT_EQ(Data()[100], 32767);  // 255.99 saturates
  // Depth is the attenuation halfway: 3 dB at depth 0, 6 dB at depth 6.
  EXPECT_EQ(Status([&](ByteSink& s) { SendScaleData(s, 1, t, 200, 300, 0, 0x0100, 0); }), kAck);
  EXPECT_EQ(Data()[200], 0);
  EXPECT_NEAR(Data()[250], 1000 * std::pow(10, -3.0 / 20), 1);
  EXPECT_EQ(Status([&](ByteSink& s) { SendScaleData(s, 1, t, 300, 400, 0, 0x0100, 6); }), kAck);
  EXPECT_NEAR(Data()[350], 1000 * std::pow(10, -6.0 / 20), 1);
  EXPECT_EQ(Status([&](ByteSink& s) { SendScaleData(s, 1, t, 0, 10, 0, 0x100, 7); }),
            kBadParameterValue);
  EXPECT_EQ(Status([&](ByteSink& s) { SendScaleData(s, 1, t, 0, 1001, 0, 0x100, 0); }),
            kBadDataRange);
}

TEST_F(Commands, FadesReverseAndNormalize) {
  AddWaveSample(h.memory, 0, 1, WaveData(400, -1000));
  EXPECT_EQ(Status([&](ByteSink& s) { SendFadeIn(s, 1, t, 0, 100, 0); }), kAck);
  EXPECT_EQ(Data()[0], 0);
  EXPECT_LT(Data()[99], -950);
  EXPECT_EQ(Status([&](ByteSink& s) { SendFadeOut(s, 1, t, 300, 400, 6); }), kAck);
  EXPECT_LT(Data()[300], -950);
  EXPECT_EQ(Data()[399], 0);
  EXPECT_EQ(Status([&](ByteSink& s) { SendFadeOut(s, 1, t, 0, 10, 7); }), kBadParameterValue);
  const WaveData before = Data();
  EXPECT_EQ(Status([&](ByteSink& s) { SendReverseData(s, 1, t, 0, 400); }), kAck);
  EXPECT_EQ(Data(), WaveData(before.rbegin(), before.rend()));
  EXPECT_EQ(Status([&](ByteSink& s) { SendNormalizeGain(s, 1, t); }), kAck);
  EXPECT_EQ(Data()[200], -32767);

  SimOptions eps;
  eps.model = SamplerModel::Eps;
  EngineHarness old(eps);
  AddWaveSample(old.memory, 0, 1, WaveData{0, 96, -40});
  old.Host([&](ByteSink& s) { SendNormalizeGain(s, 1, t); });
  // x 32767/96, rounded, then the low 3 bits dropped.
  EXPECT_EQ(*old.memory.Data(0, 1), (WaveData{0, 32760, -13656}));
}

TEST_F(Commands, LongEditsSendAWaitPerBlockOfSamplesFirst) {
  AddWaveSample(h.memory, 0, 1, WaveData(150000, 5));
  h.Host([&](ByteSink& s) { SendClearData(s, 1, t, 0, 150000); });
  EXPECT_EQ(h.Statuses(), (std::vector<int>{kWait, kWait, kAck}));
  h.Host([&](ByteSink& s) { SendReverseData(s, 1, t, 0, 65535); });
  EXPECT_EQ(h.Statuses(), std::vector<int>{kAck});
}

TEST_F(Commands, PutParameterSetsTheKeyRangeAndAnswersOnlyErrors) {
  AddWaveSample(h.memory, 0, 1, Ramp(10));
  h.Host([&](ByteSink& s) { SendPutParameter(s, 1, t, 2059, 40); });
  h.Host([&](ByteSink& s) { SendPutParameter(s, 1, t, 2060, 50); });
  EXPECT_TRUE(h.Take().empty());
  const int* record = h.memory.WaveSample(0, 1)->record.data();
  EXPECT_EQ(record[kWsLowKey], 40 << 8);
  EXPECT_EQ(record[kWsHighKey], 50 << 8);
  EXPECT_EQ(h.memory.Layer(0, 0)->record[kLayerMapFirst + 39 - 21], 0);
  EXPECT_EQ(h.memory.Layer(0, 0)->record[kLayerMapFirst + 40 - 21], 1 << 8);
  EXPECT_EQ(Status([&](ByteSink& s) { SendPutParameter(s, 1, t, 2061, 40); }), kBadParameterNumber);
  EXPECT_EQ(Status([&](ByteSink& s) { SendPutParameter(s, 1, t, 2059, 128); }), kBadParameterValue);
  EXPECT_EQ(Status([](ByteSink& s) {
              SendPutParameter(s, 1, Target{0, 0, 9}, 2059, 1);
            }),
            kNoWaveSample);
}

TEST_F(Commands, ProbeAndMessagesItDoesNotTake) {
  EXPECT_EQ(Status([](ByteSink& s) { SendProbe(s, 1); }), kAck);
  EXPECT_EQ(Status([](ByteSink& s) { SendOverviewHeader(s, 1, Target{}, 0, 1); }), kNak);
  EXPECT_EQ(Status([](ByteSink& s) { SendProbe(s, 1, 35); }), kAck);
  h.HostBytes({0xF0, 0x0F, 0x03, 0x00, 0x05, 0x00, 0x00, 0x00, 0xF7});  // a word short
  EXPECT_EQ(h.Statuses(), std::vector<int>{kNak});
  h.Host([](ByteSink& s) { SendProbe(s, 2); });             // another channel
  h.HostBytes({0xF0, 0x41, 0x10, 0x42, 0x12, 0x00, 0xF7});  // another maker
  h.HostAck();                                              // an ACK nobody waits for
  EXPECT_TRUE(h.Take().empty());
  EXPECT_EQ(h.log.Ignored(), 2);

  SimOptions sixteen;
  sixteen.channel = 16;
  EngineHarness top(sixteen);
  top.Host([](ByteSink& s) { SendProbe(s, 16); });
  top.Host([](ByteSink& s) { SendProbe(s, 1); });
  const std::vector<Bytes> sent = top.Take();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(StatusOf(sent[0], 16), kAck);  // F0 0F 03 0F 01 00 00 F7
}

TEST_F(Commands, ChannelMessagesAreRecordedAndProgramChangesSelectInstruments) {
  EngineHarness demo({}, true);
  const Bytes traffic = {0xC0, 10, 0xC0, 2,               // program changes, the second selects
                         0x90, 60, 121,  0xFE, 60, 0,     // note on, then off by running status
                         0x80, 61, 64,   0x91, 62, 100};  // note off; a note on channel 2
  for (uint8_t byte : traffic) demo.HostBytes({byte});
  EXPECT_EQ(demo.log.ProgramChanges(), (std::vector<int>{10, 2}));
  EXPECT_EQ(demo.engine.CurrentInstrument(), 2);
  const std::vector<NoteEvent> notes = demo.log.Notes();
  ASSERT_EQ(notes.size(), 3u);
  EXPECT_EQ(notes[0].key, 60);
  EXPECT_EQ(notes[0].velocity, 121);
  EXPECT_EQ(notes[1].velocity, 0);
  EXPECT_EQ(notes[2].key, 61);
}

TEST_F(Commands, SysexInPiecesWithRealTimeBytesAndCutShortMessages) {
  h.HostBytes({0xF0, 0x0F, 0xF8, 0x03});  // a clock byte inside is skipped
  h.HostBytes({0x00, 0x40, 0x00, 0x23, 0xF7});
  EXPECT_EQ(h.Statuses(), std::vector<int>{kAck});
  h.HostBytes({0xF0, 0x0F, 0x03, 0x00, 0x40, 0x00, 0xF0, 0x0F, 0x03, 0x00, 0x40, 0x00, 0x23, 0xF7});
  EXPECT_EQ(h.Statuses(), std::vector<int>{kAck});  // only the second, whole message counts
  const std::vector<LoggedMessage> log = h.log.Messages();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[1].type, kProbe);
  EXPECT_EQ(log[1].words, std::vector<int>{35});
}

// Random messages with our header and random parameters (out-of-range numbers, huge
// positions, wrong lengths) get answers or nothing, never a crash; the sampler still works.
TEST_F(Commands, HostileMessagesAreAnsweredCleanly) {
  EngineHarness demo({}, true);
  uint32_t state = 99;
  auto next = [&state] { return (state = state * 1103515245u + 12345u) >> 16; };
  for (int n = 0; n < 3000; ++n) {
    Bytes message = {0xF0, 0x0F, 0x03, 0x00, static_cast<uint8_t>(next() % 0x44)};
    const size_t words = next() % 14;
    for (size_t i = 0; i < 2 * words; ++i) message.push_back(static_cast<uint8_t>(next() & 0x7F));
    message.push_back(0xF7);
    demo.HostBytes(message);
    demo.now += next() % 3000;
  }
  demo.Take();
  demo.now += 5000;
  demo.Host([](ByteSink& s) { SendProbe(s, 1); });
  EXPECT_EQ(demo.Statuses(), std::vector<int>{kAck});
}

}  // namespace
}  // namespace kelvora::sim::test
