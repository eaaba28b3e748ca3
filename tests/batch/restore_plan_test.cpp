// Where a restore puts each instrument and what it refuses, decided before anything is sent.
#include <gtest/gtest.h>

#include "batch/RestorePlan.h"
#include "protocol/NameCodec.h"
#include "protocol/Records.h"

namespace kelvora::batch::test {
namespace {

using namespace protocol;

WaveSampleImage Ws(int number, int layer, int end, int copyOf = 0) {
  WaveSampleImage ws;
  ws.number = number;
  ws.layer = layer;
  ws.record.assign(kDefaultWsParams, kDefaultWsParams + kWsRecordWords);
  EncodeName(ws.record.data(), "");
  SetPosition(ws.record.data(), kWsSampleEnd, end);
  ws.record[kWsCopySource] = copyOf << 8;
  if (copyOf == 0 && end > 0) ws.data = StoredData{{"f.wav", ""}, end, ""};
  return ws;
}

InstrumentImage Instrument(int index) {
  InstrumentImage instrument;
  instrument.index = index;
  instrument.record.assign(kInstrRecordWords, 0);
  instrument.layers.push_back({2, Record(kLayerRecordWords, 0), {}});
  instrument.layers.push_back({4, Record(kLayerRecordWords, 0), {}});
  instrument.waveSamples = {Ws(1, 2, 0, 5), Ws(3, -1, 100), Ws(5, 4, 300), Ws(6, 2, 0)};
  return instrument;
}

Snapshot Loaded(std::initializer_list<int> slots) {
  Snapshot snapshot;
  for (int slot : slots) snapshot.instruments.push_back(Instrument(slot));
  return snapshot;
}

TEST(RestorePlanTest, RebuildsHoldersBeforeTheirCopies) {
  const InstrumentImage instrument = Instrument(0);
  EXPECT_EQ(RestorePlan::Order(instrument), (std::vector<int>{3, 5, 6, 1}));
  EXPECT_EQ(RestorePlan::LayerOf(instrument, *instrument.Find(3)), 2);  // no key: first layer
  EXPECT_EQ(RestorePlan::LayerOf(instrument, *instrument.Find(5)), 4);
}

TEST(RestorePlanTest, OwnSlotWhenFreeElseTheFirstFree) {
  RestorePlan plan;
  std::string refusal;
  ASSERT_TRUE(plan.Make(Loaded({1, 4}), Loaded({0, 1, 3}), {}, refusal)) << refusal;
  ASSERT_EQ(plan.Moves().size(), 2u);
  EXPECT_EQ(plan.Moves()[0].to, 2);
  EXPECT_EQ(plan.Moves()[1].to, 4);
  // Wavesamples 3 and 5 send data (the copy's reaches 300 samples into 5); 6 holds none.
  EXPECT_EQ(plan.Files(), 4);
  EXPECT_EQ(plan.Samples(), 2 * (100 + 300));
  // The two general limits, then per instrument the copy and the wavesample without a layer.
  ASSERT_EQ(plan.Limits().size(), 6u);
  EXPECT_NE(plan.Limits()[2].find("2/3/1 played the data of wavesample 5"),
            std::string::npos);
  EXPECT_NE(plan.Limits()[3].find("2/?/3 was on no key"), std::string::npos);
}

TEST(RestorePlanTest, RefusesWhatItCannotRebuild) {
  std::string refusal;
  RestorePlan plan;
  Snapshot noSource = Loaded({0});
  noSource.instruments[0].waveSamples.erase(noSource.instruments[0].waveSamples.begin() + 2);
  EXPECT_FALSE(plan.Make(noSource, {}, {}, refusal));
  EXPECT_NE(refusal.find("plays the data of wavesample 5, which the backup does not hold"),
            std::string::npos)
      << refusal;
  Snapshot noData = Loaded({0});
  noData.instruments[0].waveSamples[1].data.reset();
  EXPECT_FALSE(plan.Make(noData, {}, {}, refusal));
  EXPECT_NE(refusal.find("1/?/3 is missing or damaged"), std::string::npos) << refusal;
  Snapshot damagedLayer = Loaded({0});
  damagedLayer.instruments[0].layers[1].record.clear();
  EXPECT_FALSE(plan.Make(damagedLayer, {}, {}, refusal));
  EXPECT_NE(refusal.find("layer 5"), std::string::npos) << refusal;
  RestoreOptions named;
  named.instrument = 0;
  named.to = 3;
  EXPECT_FALSE(plan.Make(Loaded({0}), Loaded({3}), named, refusal));
  EXPECT_TRUE(plan.Make(Loaded({0}), Loaded({0}), named = {0, 2}, refusal)) << refusal;
  EXPECT_EQ(plan.Moves().front().to, 2);
}

}  // namespace
}  // namespace kelvora::batch::test
