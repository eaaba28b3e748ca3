#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "protocol/NameCodec.h"
#include "protocol/Occupancy.h"
#include "protocol/Records.h"

namespace kelvora::protocol {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using InstrRecord = std::array<int, kInstrRecordWords>;
using LayerRecord = std::array<int, kLayerRecordWords>;

// An instrument record with the given layers and wavesamples (numbers 1..127) in use. The
// second word of each pair is used for odd entries so that both words are seen to count.
InstrRecord Instrument(const char* name, std::initializer_list<int> layers,
                       std::initializer_list<int> waveSamples) {
  InstrRecord r{};
  EncodeName(r.data(), name);
  for (int n : layers) r[kInstrLayerWords + 2 * n + (n % 2)] = 0x0100;
  for (int w : waveSamples) r[kInstrWsWords + 2 * (w - 1) + (w % 2)] = 0x2300;
  return r;
}

// A layer record whose key map names the given wavesample numbers (raw high-byte values).
LayerRecord Layer(std::initializer_list<int> numbers) {
  LayerRecord r{};
  int word = kLayerMapFirst;
  for (int v : numbers) r[word++] = v << 8;
  return r;
}

class OccupancyTest : public ::testing::Test {
 protected:
  std::unique_ptr<Occupancy> occ = std::make_unique<Occupancy>();
  std::vector<int> layers;
};

TEST_F(OccupancyTest, StartValues) {
  for (int i = 0; i < kInstruments; ++i) {
    EXPECT_FALSE(occ->InstrInUse[i]);
    EXPECT_EQ(occ->InstrName[i], "");
    EXPECT_THAT(occ->LayerInUse[i], Each(false));
    EXPECT_THAT(occ->WsInUse[i], Each(false));
    EXPECT_THAT(occ->WsLayer[i], Each(-1));
    EXPECT_EQ(occ->FirstFreeWs[i], -1);
    EXPECT_EQ(occ->FirstFreeLayer[i], -1);
  }
}

TEST_F(OccupancyTest, SingleLayerHoldsEveryWaveSample) {
  const InstrRecord r = Instrument("grand piano", {0, 1, 3}, {1, 2, 4});
  ASSERT_EQ(DeriveInstrument(*occ, 3, r.data(), &layers), 3);
  EXPECT_THAT(layers, ElementsAre(0, 1, 3));
  EXPECT_EQ(occ->FirstFreeLayer[3], 2);
  EXPECT_EQ(occ->FirstFreeWs[3], 2);

  const InstrRecord single = Instrument("grand piano", {5}, {1, 2, 4});
  ASSERT_EQ(DeriveInstrument(*occ, 3, single.data(), &layers), 1);
  EXPECT_TRUE(occ->InstrInUse[3]);
  EXPECT_EQ(occ->InstrName[3], "Grand Piano");
  EXPECT_THAT(occ->LayerInUse[3],
              ElementsAre(false, false, false, false, false, true, false, false));
  EXPECT_EQ(occ->FirstFreeLayer[3], 0);
  EXPECT_TRUE(occ->WsInUse[3][0] && occ->WsInUse[3][1] && occ->WsInUse[3][3]);
  EXPECT_FALSE(occ->WsInUse[3][2]);
  ApplySingleLayer(*occ, 3, layers.back());
  EXPECT_THAT(occ->WsLayer[3], Each(5));
  EXPECT_FALSE(occ->InstrInUse[2]);  // neighbours untouched
  EXPECT_THAT(occ->WsLayer[2], Each(-1));
}

TEST_F(OccupancyTest, SeveralLayersNameTheirWaveSamples) {
  const InstrRecord r = Instrument("STRINGS", {0, 3}, {1, 2, 4, 5});
  ASSERT_EQ(DeriveInstrument(*occ, 0, r.data(), &layers), 2);
  ASSERT_THAT(layers, ElementsAre(0, 3));
  const LayerRecord first = Layer({1, 1, 2, 0, 128, 255});
  const LayerRecord second = Layer({2, 5, 5, 127});
  ApplyLayerRecord(*occ, 0, 0, first.data());
  ApplyLayerRecord(*occ, 0, 3, second.data());
  EXPECT_EQ(occ->WsLayer[0][0], 0);
  EXPECT_EQ(occ->WsLayer[0][1], 3);   // the later layer wins
  EXPECT_EQ(occ->WsLayer[0][3], -1);  // in use but named by no layer
  EXPECT_EQ(occ->WsLayer[0][4], 3);
  EXPECT_EQ(occ->WsLayer[0][126], 3);
  int known = 0;
  for (int layer : occ->WsLayer[0]) known += layer >= 0;
  EXPECT_EQ(known, 4);  // 0, 128 and 255 name nothing
  for (int i = 1; i < kInstruments; ++i) EXPECT_THAT(occ->WsLayer[i], Each(-1)) << i;
}

TEST_F(OccupancyTest, FullInstrumentHasNoFreeSlot) {
  InstrRecord r{};
  std::fill(r.begin() + kInstrLayerWords, r.begin() + kInstrWsWords + 2 * kWaveSamples, 0x0001);
  ASSERT_EQ(DeriveInstrument(*occ, 7, r.data(), nullptr), kLayers);
  EXPECT_EQ(occ->FirstFreeLayer[7], -1);
  EXPECT_EQ(occ->FirstFreeWs[7], -1);
  EXPECT_THAT(occ->WsInUse[7], Each(true));
  EXPECT_EQ(occ->InstrName[7], "");
}

TEST_F(OccupancyTest, NoLayerInUseKnowsNoLayer) {
  const InstrRecord earlier = Instrument("BASS", {6}, {1});
  DeriveInstrument(*occ, 0, earlier.data(), &layers);
  ApplySingleLayer(*occ, 0, layers.back());
  const InstrRecord empty = Instrument("EMPTY", {}, {3});
  ASSERT_EQ(DeriveInstrument(*occ, 1, empty.data(), &layers), 0);
  EXPECT_TRUE(layers.empty());
  ApplySingleLayer(*occ, 1, -1);
  EXPECT_THAT(occ->WsLayer[1], Each(-1));
  EXPECT_THAT(occ->WsLayer[0], Each(6));
}

TEST_F(OccupancyTest, DeriveAgainDropsWhatWasKnown) {
  const InstrRecord full = Instrument("A", {0, 1, 2}, {1, 2, 3});
  DeriveInstrument(*occ, 4, full.data(), nullptr);
  ApplySingleLayer(*occ, 4, 2);
  const InstrRecord smaller = Instrument("B", {1}, {2});
  DeriveInstrument(*occ, 4, smaller.data(), nullptr);
  EXPECT_THAT(occ->LayerInUse[4],
              ElementsAre(false, true, false, false, false, false, false, false));
  EXPECT_FALSE(occ->WsInUse[4][0]);
  EXPECT_EQ(occ->FirstFreeWs[4], 0);
  EXPECT_THAT(occ->WsLayer[4], Each(-1));
}

TEST_F(OccupancyTest, InstrumentThatDoesNotAnswer) {
  const InstrRecord r = Instrument("ORGAN", {0}, {1});
  DeriveInstrument(*occ, 2, r.data(), nullptr);
  ApplySingleLayer(*occ, 2, 0);
  MarkNotAnswering(*occ, 2);
  EXPECT_FALSE(occ->InstrInUse[2]);
  EXPECT_EQ(occ->InstrName[2], "");
  EXPECT_THAT(occ->LayerInUse[2], Each(false));
  EXPECT_THAT(occ->WsInUse[2], Each(false));
  EXPECT_THAT(occ->WsLayer[2], Each(-1));
  EXPECT_EQ(occ->FirstFreeWs[2], 0);
  EXPECT_EQ(occ->FirstFreeLayer[2], 0);
}

TEST_F(OccupancyTest, IndicesOutOfRangeChangeNothing) {
  const InstrRecord r = Instrument("X", {0}, {1});
  const LayerRecord l = Layer({1});
  layers = {9, 9};
  EXPECT_EQ(DeriveInstrument(*occ, 8, r.data(), &layers), 0);
  EXPECT_TRUE(layers.empty());
  DeriveInstrument(*occ, -1, r.data(), nullptr);
  ApplyLayerRecord(*occ, 8, 0, l.data());
  ApplyLayerRecord(*occ, 0, 8, l.data());
  ApplyLayerRecord(*occ, 0, -1, l.data());
  ApplySingleLayer(*occ, -1, 0);
  ApplySingleLayer(*occ, 0, 8);
  MarkNotAnswering(*occ, 8);
  const auto fresh = std::make_unique<Occupancy>();
  for (int i = 0; i < kInstruments; ++i) {
    EXPECT_EQ(occ->InstrInUse[i], fresh->InstrInUse[i]);
    EXPECT_THAT(occ->WsLayer[i], ElementsAreArray(fresh->WsLayer[i]));
    EXPECT_EQ(occ->FirstFreeWs[i], fresh->FirstFreeWs[i]);
    EXPECT_EQ(occ->FirstFreeLayer[i], fresh->FirstFreeLayer[i]);
  }
}

}  // namespace
}  // namespace kelvora::protocol
