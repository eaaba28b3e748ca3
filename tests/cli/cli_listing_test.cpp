#include <gtest/gtest.h>

#include <QJsonArray>

#include "cli/Listing.h"
#include "protocol/NameCodec.h"
#include "protocol/Records.h"

namespace kelvora::cli {
namespace {

using namespace protocol;

batch::Record WaveSampleRecord(const char* name, int mode, int rateCode, int start, int end) {
  batch::Record record(kDefaultWsParams, kDefaultWsParams + kWsRecordWords);
  EncodeName(record.data(), name);
  record[kWsPlaybackMode] = mode << 8;
  record[kWsRate] = rateCode << 8;
  SetPosition(record.data(), kWsSampleStart, start);
  SetPosition(record.data(), kWsSampleEnd, end);
  SetPosition(record.data(), kWsLoopStart, start + 10);
  SetPosition(record.data(), kWsLoopEnd, end - 10);
  return record;
}

// An ASR-10 instrument of two layers: a looped wavesample in layer 2, one no layer's key map
// names, and a record with a playback mode the sampler does not document.
batch::Snapshot TwoLayers() {
  batch::InstrumentImage instrument;
  instrument.index = 5;
  instrument.record.assign(kInstrRecordWords, 0);
  EncodeName(instrument.record.data(), "STRINGS");
  instrument.record[15] = 40;      // blocks of 256 words
  instrument.record[25] = 0xFFFE;  // ASR-10
  for (const int l : {0, 1}) {
    batch::LayerImage layer;
    layer.index = l;
    layer.record.assign(kLayerRecordWords, 0);
    EncodeName(layer.record.data(), l == 0 ? "LOW" : "HIGH");
    instrument.layers.push_back(layer);
  }
  instrument.waveSamples.push_back({7, 1, WaveSampleRecord("VIOLIN", 3, 0, 100, 48100), {}, {}});
  instrument.waveSamples.push_back({9, -1, WaveSampleRecord("LOST", 0, 1, 0, 441), {}, {}});
  instrument.waveSamples.push_back({12, 0, WaveSampleRecord("ODD", 9, 25, 0, 0), {}, {}});
  batch::Snapshot snapshot;
  snapshot.instruments.push_back(instrument);
  return snapshot;
}

TEST(ListingTest, EachWavesampleGoesUnderItsLayerWithWhatItsRecordSays) {
  const QJsonObject listing = ListingJson(TwoLayers());
  EXPECT_EQ(listing["model"].toString(), "ASR-10");
  EXPECT_EQ(listing["memoryWordsUsed"].toInt(), 40 * 256);
  const QJsonObject instrument = listing["instruments"][0].toObject();
  EXPECT_EQ(instrument["slot"].toString(), "6");
  EXPECT_EQ(instrument["name"].toString(), "Strings");
  const QJsonObject violin = instrument["layers"][1]["waveSamples"][0].toObject();
  EXPECT_EQ(violin["slot"].toString(), "6/2/7");
  EXPECT_EQ(violin["length"].toInt(), 48000) << "sample end minus sample start";
  EXPECT_EQ(violin["rate"].toInt(), 48000) << "rate code 0";
  EXPECT_DOUBLE_EQ(violin["seconds"].toDouble(), 1.0);
  EXPECT_EQ(violin["playbackMode"].toString(), "Loop Bidirectional");
  EXPECT_TRUE(violin["loops"].toBool());
  EXPECT_EQ(violin["loopStart"].toInt(), 110);
  EXPECT_EQ(violin["loopEnd"].toInt(), 48090);
  EXPECT_TRUE(violin["copyOf"].isNull());

  const QJsonArray lost = instrument["waveSamplesWithoutLayer"].toArray();
  ASSERT_EQ(lost.size(), 1);
  EXPECT_EQ(lost[0]["slot"].toString(), "6/?/9");
  const QJsonObject odd = instrument["layers"][0]["waveSamples"][0].toObject();
  EXPECT_EQ(odd["playbackMode"].toString(), "mode 9");
  EXPECT_FALSE(odd["loops"].toBool());
  EXPECT_EQ(odd["length"].toInt(), 0);
  EXPECT_DOUBLE_EQ(odd["seconds"].toDouble(), 0.0);

  const std::vector<std::string> text = ListingText(listing);
  ASSERT_EQ(text.size(), 7u);
  EXPECT_EQ(text[0],
            "Model ASR-10; the instruments listed take 40 blocks (10240 words); free "
            "memory is not told over MIDI.");
  EXPECT_EQ(text[1], "6  Strings  40 blocks (10240 words)");
  EXPECT_EQ(text[5],
            "    6/2/7  Violin  48000 samples 1.000 s  48000 Hz  root C4  keys A0..C8  Loop "
            "Bidirectional  start 100 end 48100  loop 110-48090");
  EXPECT_NE(text[6].find("6/?/9  Lost"), std::string::npos);
  EXPECT_NE(text[6].find("(no layer's key map names it)"), std::string::npos);
  EXPECT_EQ(ListingText(ListingJson({})), std::vector<std::string>{"No instruments."});
}

}  // namespace
}  // namespace kelvora::cli
