#include <gtest/gtest.h>

#include <algorithm>

#include "protocol/NameCodec.h"
#include "protocol/Records.h"
#include "sim/RecordSync.h"
#include "sim/SamplerMemory.h"
#include "sim/SamplerStatus.h"
#include "sim_support.h"

namespace kelvora::sim::test {
namespace {

using namespace protocol;

bool InUse(const int* words) { return words[0] != 0 || words[1] != 0; }

WsRecord KeyRange(int low, int high) {
  WsRecord record = Record(0, 10);
  record[kWsLowKey] = low << 8;
  record[kWsHighKey] = high << 8;
  return record;
}

int MapWord(const SamplerMemory& memory, int i, int l, int key) {
  return memory.Layer(i, l)->record[kLayerMapFirst + key - 21];
}

TEST(SamplerMemory, RecordsDescribeTheObjectsAfterEveryChange) {
  SamplerMemory memory(SamplerModel::Asr10, 1024 * 1024);
  ASSERT_EQ(memory.AddInstrument(0, "strings"), kAck);
  ASSERT_EQ(memory.AddLayer(0, 0, "A"), kAck);
  ASSERT_EQ(memory.AddLayer(0, 2, "B"), kAck);
  ASSERT_EQ(memory.AddWaveSample(0, 0, 1, KeyRange(21, 59), WaveData(10)), kAck);
  ASSERT_EQ(memory.AddWaveSample(0, 2, 5, KeyRange(60, 108), WaveData(10)), kAck);
  ASSERT_EQ(memory.AddParameterCopy(0, 0, 7, 5, KeyRange(50, 60)), kAck);

  const int* instrument = memory.Instrument(0)->record.data();
  EXPECT_EQ(DecodeName(instrument), "Strings");
  EXPECT_EQ(instrument[25], 0xFFFE);  // ASR-10
  EXPECT_TRUE(InUse(instrument + 45));
  EXPECT_FALSE(InUse(instrument + 47));
  EXPECT_TRUE(InUse(instrument + 49));
  EXPECT_TRUE(InUse(instrument + 63));           // wavesample 1
  EXPECT_FALSE(InUse(instrument + 63 + 2 * 1));  // 2
  EXPECT_TRUE(InUse(instrument + 63 + 2 * 4));   // 5
  EXPECT_TRUE(InUse(instrument + 63 + 2 * 6));   // 7

  EXPECT_EQ(MapWord(memory, 0, 0, 21), 1 << 8);
  EXPECT_EQ(MapWord(memory, 0, 0, 50), 7 << 8);  // overlapping ranges: the higher number plays
  EXPECT_EQ(MapWord(memory, 0, 0, 61), 0);
  EXPECT_EQ(MapWord(memory, 0, 2, 60), 5 << 8);
  const WaveSampleSlot* copy = memory.WaveSample(0, 7);
  EXPECT_EQ(copy->record[kWsCopySource], 5 << 8);
  EXPECT_EQ(copy->record[13], 2 << 8);  // the layer of the source
  EXPECT_EQ(copy->data, memory.WaveSample(0, 5)->data);

  // Deleting the layer of the source hands the data to the copy.
  ASSERT_EQ(memory.RemoveLayer(0, 2), kAck);
  EXPECT_FALSE(InUse(instrument + 49));
  EXPECT_FALSE(InUse(instrument + 63 + 2 * 4));
  EXPECT_EQ(memory.WaveSample(0, 7)->copyOf, 0);
  EXPECT_EQ(memory.WaveSample(0, 7)->record[kWsCopySource], 0);
  EXPECT_EQ(memory.Data(0, 7)->size(), 10u);
  EXPECT_EQ(memory.RemoveLayer(0, 2), kNoLayer);
}

// The map must name, for every key, the highest-numbered wavesample of the layer whose range
// holds it, whatever the ranges: overlapping, reversed, or reaching past the mapped keys.
TEST(SamplerMemory, LayerMapsAgreeWithTheKeyRangesOfEveryWaveSample) {
  SamplerMemory memory(SamplerModel::Eps16Plus, 4 * 1024 * 1024);
  ASSERT_EQ(memory.AddInstrument(0, "map"), kAck);
  ASSERT_EQ(memory.AddLayer(0, 0, "A"), kAck);
  ASSERT_EQ(memory.AddLayer(0, 1, "B"), kAck);
  uint32_t seed = 12345;
  auto next = [&seed](int n) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 16) % static_cast<uint32_t>(n));
  };
  for (int w = 1; w <= 40; ++w) {
    const int low = next(128);
    const int high = w % 7 == 0 ? low - 3 : low + next(30);  // a few reversed ranges
    ASSERT_EQ(
        memory.AddWaveSample(0, next(2), w * 3, KeyRange(low, std::min(high, 127)), WaveData(10)),
        kAck);
  }
  for (int l = 0; l < 2; ++l)
    for (int key = 21; key <= 108; ++key)
      EXPECT_EQ(MapWord(memory, 0, l, key), WaveSampleOnKey(*memory.Instrument(0), l, key) << 8)
          << "layer " << l << " key " << key;
}

TEST(SamplerMemory, HostRecordsCannotContradictTheObjects) {
  SamplerMemory memory(SamplerModel::Eps16Plus, 1024 * 1024);
  AddWaveSample(memory, 0, 1, WaveData(10));
  InstrumentRecord instrument{};
  EncodeName(instrument.data(), "renamed");
  memory.PutInstrumentRecord(0, instrument.data());
  EXPECT_EQ(DecodeName(memory.Instrument(0)->record.data()), "Renamed");
  EXPECT_TRUE(InUse(memory.Instrument(0)->record.data() + 45));
  EXPECT_TRUE(InUse(memory.Instrument(0)->record.data() + 63));
  EXPECT_EQ(memory.Instrument(0)->record[25], 0xFFFF);

  WsRecord ws = KeyRange(30, 40);
  ws[kWsCopySource] = 9 << 8;
  memory.PutWsRecord(0, 1, ws.data());
  EXPECT_EQ(memory.WaveSample(0, 1)->record[kWsCopySource], 0);
  EXPECT_EQ(MapWord(memory, 0, 0, 30), 1 << 8);
  EXPECT_EQ(MapWord(memory, 0, 0, 41), 0);
}

TEST(SamplerMemory, CountsWholeBlocksAndRefusesWhatDoesNotFit) {
  SamplerMemory memory(SamplerModel::Eps16Plus, 1024);
  AddWaveSample(memory, 0, 1, WaveData(300));
  ASSERT_EQ(memory.AddParameterCopy(0, 0, 2, 1, Record(0, 300)), kAck);
  EXPECT_EQ(memory.UsedWords(), 512);              // copies cost nothing
  EXPECT_EQ(memory.Instrument(0)->record[15], 2);  // size in blocks of 256 words
  EXPECT_EQ(memory.Resize(0, 1, 1024), kAck);
  EXPECT_EQ(memory.Resize(0, 1, 1025), kMemoryFull);
  EXPECT_EQ(memory.Data(0, 2)->size(), 1024u);
  EXPECT_EQ(memory.Resize(0, 2, 10), kIsCopy);
  EXPECT_EQ(memory.Resize(0, 1, 100), kAck);
  EXPECT_EQ(memory.AddWaveSample(0, 0, 3, Record(0, 1), WaveData(769)), kMemoryFull);
  EXPECT_EQ(memory.AddWaveSample(0, 0, 3, Record(0, 1), WaveData(768)), kAck);
  EXPECT_EQ(memory.UsedWords(), 1024);
}

TEST(SamplerMemory, ObjectRulesAndLimits) {
  SamplerMemory memory(SamplerModel::Eps16Plus, 1024 * 1024);
  EXPECT_EQ(memory.AddLayer(0, 0, "A"), kNoInstrument);
  EXPECT_EQ(memory.AddInstrument(8, "X"), kNoInstrument);
  ASSERT_EQ(memory.AddInstrument(0, "X"), kAck);
  EXPECT_EQ(memory.AddInstrument(0, "X"), kInstrumentInUse);
  EXPECT_EQ(memory.AddWaveSample(0, 0, 1, Record(0, 1), WaveData(1)), kNoLayer);
  ASSERT_EQ(memory.AddLayer(0, 0, "A"), kAck);
  EXPECT_EQ(memory.AddLayer(0, 0, "A"), kLayerInUse);
  EXPECT_EQ(memory.AddWaveSample(0, 0, 128, Record(0, 1), WaveData(1)), kNoWaveSample);
  for (int w = 1; w <= kWaveSamples; ++w) memory.AddWaveSample(0, 0, w, Record(0, 1), WaveData(1));
  EXPECT_EQ(memory.FirstFreeWaveSample(0), -1);
  EXPECT_EQ(memory.AddWaveSample(0, 0, 5, Record(0, 1), WaveData(1)), kWaveSampleInUse);
  EXPECT_EQ(memory.RemoveWaveSample(0, 5), kAck);
  EXPECT_EQ(memory.FirstFreeWaveSample(0), 5);
  EXPECT_EQ(memory.RemoveInstrument(0), kAck);
  EXPECT_EQ(memory.RemoveInstrument(0), kNoInstrument);
  EXPECT_EQ(memory.UsedWords(), 0);
}

TEST(SamplerMemory, TheOriginalEpsKeepsThirteenBits) {
  SamplerMemory eps(SamplerModel::Eps, 1024 * 1024);
  AddWaveSample(eps, 0, 1, WaveData{1, 7, -1, 32767, -32768, 0x1238});
  EXPECT_EQ(*eps.Data(0, 1), (WaveData{0, 0, -8, 32760, -32768, 0x1238}));
  EXPECT_EQ(eps.Instrument(0)->record[25], 0);
  SamplerMemory plus(SamplerModel::Eps16Plus, 1024 * 1024);
  AddWaveSample(plus, 0, 1, WaveData{1, 7, -1});
  EXPECT_EQ(*plus.Data(0, 1), (WaveData{1, 7, -1}));
}

}  // namespace
}  // namespace kelvora::sim::test
