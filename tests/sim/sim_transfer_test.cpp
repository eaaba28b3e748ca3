#include <gtest/gtest.h>

#include "protocol/Records.h"
#include "sim/SamplerStatus.h"
#include "sim_support.h"

namespace kelvora::sim::test {
namespace {

using namespace protocol;

Bytes Built(const std::function<void(ByteSink&)>& build) {
  VectorSink sink;
  build(sink);
  return sink.bytes;
}

WaveData Ramp(int size, int step = 1) {
  WaveData data(size);
  for (int i = 0; i < size; ++i) data[i] = static_cast<int16_t>(i * step);
  return data;
}

TEST(GetHandshake, RecordsCarryTheHeaderOfTheMatchingPut) {
  EngineHarness h({}, true);
  h.Host([](ByteSink& s) { SendGetInstrumentParams(s, 1, 2); });
  std::vector<Bytes> sent = h.Take();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(StatusOf(sent[0]), kAck);
  EXPECT_EQ(sent[1], Built([](ByteSink& s) { SendInstrumentParamsHeader(s, 1, Target{2, 0, 0}); }));
  h.HostAck();
  sent = h.Take();
  ASSERT_EQ(sent.size(), 1u);
  ASSERT_EQ(sent[0].size(), DataMessageSize(kInstrRecordWords));
  const auto& instrument = h.memory.Instrument(2)->record;
  EXPECT_EQ(DataWords(sent[0]), std::vector<int>(instrument.begin(), instrument.end()));

  const std::vector<int> layer = h.Get([](ByteSink& s) { SendGetLayerParams(s, 1, 2, 1); });
  ASSERT_EQ(layer.size(), 107u);
  EXPECT_EQ(layer[kLayerMapFirst], 2 << 8);  // the demo pad's second layer plays wavesample 2
  const std::vector<int> copy = h.Get([](ByteSink& s) { SendGetWsParams(s, 1, Target{0, 0, 3}); });
  ASSERT_EQ(copy.size(), 139u);
  EXPECT_EQ(copy[kWsCopySource], 1 << 8);
  h.HostAck();  // the host's ACK after a data message is taken silently
  EXPECT_TRUE(h.Take().empty());
}

TEST(GetHandshake, DataComesAsUnsigned16BitWordsOfTheRange) {
  EngineHarness h;
  AddWaveSample(h.memory, 0, 1, Ramp(100, -300));
  const Target t{0, 0, 1};
  h.Host([&](ByteSink& s) { SendGetWsData(s, 1, t, 10, 20); });
  std::vector<Bytes> sent = h.Take();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[1], Built([&](ByteSink& s) { SendWsDataHeader(s, 1, t, 10, 20); }));
  h.HostAck();
  sent = h.Take();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0][4], 0x0F);  // -3000 as 0xF448: the first byte holds 4 bits only
  EXPECT_EQ(DataWords(sent[0]), Samples(*h.memory.Data(0, 1), 10, 20));
}

TEST(GetHandshake, AnAckLaterThanTwoSecondsOrAnotherCommandAbandonsTheExchange) {
  EngineHarness h;
  AddWaveSample(h.memory, 0, 1, Ramp(100));
  auto get = [](ByteSink& s) { SendGetWsData(s, 1, Target{0, 0, 1}, 0, 10); };
  h.Host(get);
  h.Take();
  h.now += 2000;
  h.HostAck();
  EXPECT_EQ(h.Take().size(), 1u);  // just in time

  h.Host(get);
  h.Take();
  h.now += 2001;
  h.HostAck();
  EXPECT_TRUE(h.Take().empty());  // abandoned, never sent later

  h.Host(get);
  h.Take();
  h.Host([](ByteSink& s) { SendProbe(s, 1); });
  EXPECT_EQ(h.Statuses(), std::vector<int>{kAck});
  h.HostAck();
  EXPECT_TRUE(h.Take().empty());

  h.Host(get);
  h.Take();
  h.Host([](ByteSink& s) { SendResponse(s, 1, kNak); });  // the host refuses the header
  h.HostAck();
  EXPECT_TRUE(h.Take().empty());
}

TEST(GetHandshake, RefusalsEndTheExchangeWithTheirStatus) {
  EngineHarness h({}, true);
  auto statusOf = [&](const std::function<void(ByteSink&)>& build) {
    h.Host(build);
    std::vector<int> statuses = h.Statuses();
    return statuses.size() == 1 ? statuses[0] : -1;
  };
  EXPECT_EQ(statusOf([](ByteSink& s) { SendGetInstrumentParams(s, 1, 5); }), kNoInstrument);
  EXPECT_EQ(statusOf([](ByteSink& s) { SendGetLayerParams(s, 1, 0, 3); }), kNoLayer);
  EXPECT_EQ(statusOf([](ByteSink& s) { SendGetWsParams(s, 1, Target{0, 0, 50}); }), kNoWaveSample);
  EXPECT_EQ(statusOf([](ByteSink& s) { SendGetWsParams(s, 1, Target{0, 5, 50}); }), kNoLayer);
  EXPECT_EQ(statusOf([](ByteSink& s) {
              SendGetWsData(s, 1, Target{0, 0, 1}, 4000, 4401);
            }),
            kBadDataRange);
  EXPECT_EQ(statusOf([](ByteSink& s) {
              SendGetWsData(s, 1, Target{0, 0, 1}, 10, 10);
            }),
            kBadDataRange);
  EXPECT_EQ(statusOf([](ByteSink& s) {
              SendGetOverview(s, 1, Target{0, 0, 1}, 10, 5);
            }),
            kBadDataRange);
  // A parameters-only copy can be read: its data is its source's.
  EXPECT_EQ(h.Get([](ByteSink& s) {
    SendGetWsData(s, 1, Target{0, 0, 3}, 0, 8);
  }),
            Samples(*h.memory.Data(0, 1), 0, 8));
}

TEST(Overview, SectionsFollowTheViewOrTheDocumentedReading) {
  WaveData data = Ramp(3000);
  data[5] = -32768;
  for (OverviewReading reading : {OverviewReading::HalfRange, OverviewReading::WholeRange}) {
    SimOptions options;
    options.overview = reading;
    EngineHarness h(options);
    AddWaveSample(h.memory, 0, 1, data);
    const Target t{0, 0, 1};
    h.Host([&](ByteSink& s) { SendGetOverview(s, 1, t, 1000, 5096); });
    std::vector<Bytes> sent = h.Take();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1], Built([&](ByteSink& s) { SendOverviewHeader(s, 1, t, 1000, 5096); }));
    h.HostAck();
    const std::vector<int> words = DataWords(h.Take().at(0));
    ASSERT_EQ(words.size(), 512u);
    const int step = reading == OverviewReading::HalfRange ? 4 : 8;  // 4096 / 1024 or / 512
    EXPECT_EQ(words[0], 1000 + step - 1);
    EXPECT_EQ(words[100], 1000 + 101 * step - 1);
    EXPECT_EQ(words[249], reading == OverviewReading::HalfRange ? 1999 : 2999);
    EXPECT_EQ(words[499], reading == OverviewReading::HalfRange ? 2999 : 0);
    EXPECT_EQ(words[511], 0);  // past the data: silence
  }
  EngineHarness h;
  AddWaveSample(h.memory, 0, 1, data);
  const std::vector<int> words = h.Get([](ByteSink& s) {
    SendGetOverview(s, 1, Target{0, 0, 1}, 0, 2048);
  });
  EXPECT_EQ(words.at(2), 32767);  // the peak of -32768 saturates
}

TEST(PutHandshake, WavesampleDataIsWrittenAndGrowsTheData) {
  EngineHarness h;
  AddWaveSample(h.memory, 0, 1, Ramp(100));
  std::vector<int> block(20);
  for (int i = 0; i < 20; ++i) block[i] = 1000 + i;
  block[3] = -5;  // a host that sends a negative int: its high bits are masked off
  auto put = [](ByteSink& s) { SendPutWsData(s, 1, Target{0, 0, 1}, 90, 110); };
  EXPECT_EQ(h.Put(put, block), (std::vector<int>{kAck, kAck}));
  const WaveData& data = *h.memory.Data(0, 1);
  ASSERT_EQ(data.size(), 110u);
  EXPECT_EQ(data[89], 89);
  EXPECT_EQ(data[90], 1000);
  EXPECT_EQ(data[93], -5);
  EXPECT_EQ(data[109], 1019);
  EXPECT_EQ(h.Get([](ByteSink& s) {
    SendGetWsData(s, 1, Target{0, 0, 1}, 93, 94);
  }),
            std::vector<int>{0xFFFB});

  auto statusOf = [&](int start, int end) {
    h.Host([&](ByteSink& s) { SendPutWsData(s, 1, Target{0, 0, 1}, start, end); });
    return h.Statuses();
  };
  EXPECT_EQ(statusOf(111, 120), std::vector<int>{kBadDataRange});  // would leave a gap
  EXPECT_EQ(statusOf(50, 50), std::vector<int>{kBadDataRange});
  EXPECT_EQ(statusOf(0, SamplerEngine::kMaxBlockWords + 1), std::vector<int>{kBadDataRange});
}

TEST(PutHandshake, AWrongDataMessageIsNakedAndChangesNothing) {
  EngineHarness h;
  AddWaveSample(h.memory, 0, 1, Ramp(100));
  const WsRecord before = h.memory.WaveSample(0, 1)->record;
  auto put = [](ByteSink& s) { SendPutWsParams(s, 1, Target{0, 0, 1}); };
  EXPECT_EQ(h.Put(put, std::vector<int>(138, 0)), (std::vector<int>{kAck, kNak}));
  EXPECT_EQ(h.memory.WaveSample(0, 1)->record, before);

  EXPECT_EQ(h.Put(put, std::vector<int>(140, 0)), (std::vector<int>{kAck, kNak}));
  EXPECT_EQ(h.memory.WaveSample(0, 1)->record, before);

  h.Host([](ByteSink& s) { SendPutWsData(s, 1, Target{0, 0, 1}, 0, 4); });
  h.Take();
  h.now += 2001;  // the block comes too late: it is no longer expected
  h.Host([](ByteSink& s) {
    const int words[] = {1, 2, 3, 4};
    SendDataMessage(s, 1, words, 4);
  });
  EXPECT_EQ(h.Statuses(), std::vector<int>{kNak});
  EXPECT_EQ((*h.memory.Data(0, 1))[1], 1);
}

TEST(PutHandshake, RecordsFromTheHostTakeEffect) {
  EngineHarness h({}, true);
  std::vector<int> record(h.memory.Instrument(1)->record.begin(),
                          h.memory.Instrument(1)->record.end());
  record[0] = 'X' << 8;
  EXPECT_EQ(h.Put(
                [](ByteSink& s) {
                  SendPutInstrumentParams(s, 1, Target{1, 0, 1});
                },
                record),
            (std::vector<int>{kAck, kAck}));
  EXPECT_EQ(h.memory.Instrument(1)->record[0], 'X' << 8);

  std::vector<int> ws(h.memory.WaveSample(1, 1)->record.begin(),
                      h.memory.WaveSample(1, 1)->record.end());
  ws[kWsHighKey] = 40 << 8;
  EXPECT_EQ(h.Put(
                [](ByteSink& s) {
                  SendPutWsParams(s, 1, Target{1, 0, 1});
                },
                ws),
            (std::vector<int>{kAck, kAck}));
  EXPECT_EQ(h.memory.Layer(1, 0)->record[kLayerMapFirst + 41 - 21], 0);  // key 41 is free now

  h.Host([](ByteSink& s) { SendPutWsParams(s, 1, Target{1, 0, 9}); });
  EXPECT_EQ(h.Statuses(), std::vector<int>{kNoWaveSample});
  h.Host([](ByteSink& s) { SendPutWsData(s, 1, Target{0, 0, 3}, 0, 4); });
  EXPECT_EQ(h.Statuses(), std::vector<int>{kIsCopy});
}

TEST(PutHandshake, MemoryFullAndBlocksSoonerThanTheMinimumGap) {
  SimOptions options;
  options.memoryWords = 1024;
  options.minBlockGapMs = 50;
  EngineHarness h(options);
  AddWaveSample(h.memory, 0, 1, Ramp(1000));
  auto put = [](int start, int end) {
    return [=](ByteSink& s) { SendPutWsData(s, 1, Target{0, 0, 1}, start, end); };
  };
  h.Host(put(1000, 1100));
  EXPECT_EQ(h.Statuses(), std::vector<int>{kMemoryFull});
  EXPECT_EQ(h.Put(put(0, 10), std::vector<int>(10, 7)), (std::vector<int>{kAck, kAck}));
  h.now += 49;
  h.Host(put(10, 20));
  EXPECT_EQ(h.Statuses(), std::vector<int>{kSlowDown});
  h.now += 1;
  EXPECT_EQ(h.Put(put(10, 20), std::vector<int>(10, 7)), (std::vector<int>{kAck, kAck}));
}

TEST(PutHandshake, TheOriginalEpsReadsBackWithTheLowThreeBitsZero) {
  SimOptions options;
  options.model = SamplerModel::Eps;
  EngineHarness h(options);
  AddWaveSample(h.memory, 0, 1, WaveData(4));
  const std::vector<int> written = {1, 7, 0x7FFF, 0xFFFF};
  EXPECT_EQ(h.Put(
                [](ByteSink& s) {
                  SendPutWsData(s, 1, Target{0, 0, 1}, 0, 4);
                },
                written),
            (std::vector<int>{kAck, kAck}));
  EXPECT_EQ(h.Get([](ByteSink& s) {
    SendGetWsData(s, 1, Target{0, 0, 1}, 0, 4);
  }),
            (std::vector<int>{0, 0, 0x7FF8, 0xFFF8}));
}

}  // namespace
}  // namespace kelvora::sim::test
