// manifest.json: what it tells a person and a script, and that a manifest not written by this
// program (or tampered with) is refused before any file it names is touched.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "batch/Manifest.h"
#include "protocol/NameCodec.h"
#include "protocol/Records.h"

namespace kelvora::batch::test {
namespace {

using namespace protocol;

const std::string kSha(64, 'a');

Snapshot Sample() {
  Snapshot snapshot;
  InstrumentImage& instrument = snapshot.instruments.emplace_back();
  instrument.index = 4;
  instrument.record.assign(kInstrRecordWords, 0);
  EncodeName(instrument.record.data(), "BASS");
  instrument.record[25] = 0xFFFE;
  instrument.record[15] = 3;
  instrument.recordFile = {"instrument-5/instrument.words", kSha};
  LayerImage& layer = instrument.layers.emplace_back();
  layer.index = 1;
  layer.record.assign(kLayerRecordWords, 0);
  layer.record[kLayerMapFirst + 39] = 7 << 8;  // key 60 plays wavesample 7
  layer.recordFile = {"instrument-5/layer-2.words", kSha};
  for (int number : {7, 9}) {
    WaveSampleImage& ws = instrument.waveSamples.emplace_back();
    ws.number = number;
    ws.layer = number == 7 ? 1 : -1;
    ws.record.assign(kDefaultWsParams, kDefaultWsParams + kWsRecordWords);
    SetPosition(ws.record.data(), kWsSampleEnd, 1000);
    ws.recordFile = {"instrument-5/ws-00" + std::to_string(number) + ".words", kSha};
  }
  instrument.waveSamples[0].record[kWsRate] = 1 << 8;
  instrument.waveSamples[0].data = StoredData{{"instrument-5/ws-007.wav", kSha}, 1000, kSha};
  instrument.waveSamples[1].record[kWsCopySource] = 7 << 8;
  return snapshot;
}

QJsonObject Root(const QByteArray& json) { return QJsonDocument::fromJson(json).object(); }

TEST(ManifestTest, TellsTheSamplerInTheUsersNumbers) {
  const QJsonObject root = Root(ManifestJson(Sample(), true));
  EXPECT_EQ(root["format"].toString(), "kelvora-backup");
  EXPECT_TRUE(root["complete"].toBool());
  EXPECT_EQ(root["sampler"]["model"].toString(), "ASR-10");
  EXPECT_EQ(root["sampler"]["usedWords"].toInt(), 768);
  const QJsonObject instrument = root["instruments"][0].toObject();
  EXPECT_EQ(instrument["instrument"].toInt(), 5);
  EXPECT_EQ(instrument["name"].toString(), "Bass");
  const QJsonObject layer = instrument["layers"][0].toObject();
  EXPECT_EQ(layer["layer"].toInt(), 2);
  EXPECT_EQ(layer["keyMap"].toArray().size(), 88);
  EXPECT_EQ(layer["keyMap"][39].toInt(), 7);
  const QJsonObject ws = instrument["wavesamples"][0].toObject();
  EXPECT_EQ(ws["wavesample"].toInt(), 7);
  EXPECT_EQ(ws["layer"].toInt(), 2);
  EXPECT_EQ(ws["rate"].toInt(), 44100);
  EXPECT_EQ(ws["rootKey"].toInt(), 60);
  EXPECT_EQ(ws["keyRange"].toArray(), (QJsonArray{21, 108}));
  EXPECT_EQ(ws["playbackMode"].toString(), "forward");
  EXPECT_EQ(ws["sampleEnd"].toInt(), 1000);
  EXPECT_EQ(ws["data"]["samples"].toInt(), 1000);
  const QJsonObject copy = instrument["wavesamples"][1].toObject();
  EXPECT_EQ(copy["copyOf"].toInt(), 7);
  EXPECT_TRUE(copy["layer"].isNull());
  EXPECT_FALSE(copy.contains("data"));
}

TEST(ManifestTest, ReadsBackWhatItWrote) {
  Snapshot back;
  bool complete = true;
  std::string failure;
  ASSERT_TRUE(ParseManifest(ManifestJson(Sample(), false), back, complete, failure)) << failure;
  EXPECT_FALSE(complete);
  ASSERT_EQ(back.instruments.size(), 1u);
  const InstrumentImage& instrument = back.instruments[0];
  EXPECT_EQ(instrument.index, 4);
  EXPECT_EQ(instrument.recordFile.path, "instrument-5/instrument.words");
  ASSERT_EQ(instrument.layers.size(), 1u);
  EXPECT_EQ(instrument.layers[0].index, 1);
  ASSERT_EQ(instrument.waveSamples.size(), 2u);
  EXPECT_EQ(instrument.waveSamples[0].layer, 1);
  ASSERT_TRUE(instrument.waveSamples[0].data.has_value());
  EXPECT_EQ(instrument.waveSamples[0].data->samples, 1000);
  EXPECT_EQ(instrument.waveSamples[1].layer, -1);
  EXPECT_FALSE(instrument.waveSamples[1].data.has_value());
}

// Each case changes one value of a good manifest.
TEST(ManifestTest, RefusesWhatItDidNotWrite) {
  const QByteArray good = ManifestJson(Sample(), true);
  const std::vector<std::pair<QByteArray, QByteArray>> edits = {
      {"\"kelvora-backup\"", "\"other\""},
      {"\"version\": 1", "\"version\": 2"},
      {"\"instrument\": 5", "\"instrument\": 9"},
      {"\"wavesample\": 7", "\"wavesample\": 0"},
      {"\"layer\": 2,\n                    \"name\"", "\"layer\": 2.5,\n \"name\""},
      {"\"instrument-5/ws-007.wav\"", "\"../ws-007.wav\""},
      {"\"instrument-5/ws-007.wav\"", "\"/etc/passwd\""},
      {"\"instrument-5/layer-2.words\"", "\"instrument-5/./layer-2.words\""},
      {"\"samples\": 1000", "\"samples\": -1"},
      {QByteArray::fromStdString(kSha), QByteArray::fromStdString(std::string(64, 'G'))},
      {"{", "["},
      {"\"wavesample\": 9", "\"wavesample\": 7"},
  };
  for (const auto& [from, to] : edits) {
    QByteArray edited = good;
    ASSERT_TRUE(edited.contains(from)) << from.toStdString();
    edited.replace(edited.indexOf(from), from.size(), to);
    Snapshot snapshot;
    bool complete = false;
    std::string failure;
    EXPECT_FALSE(ParseManifest(edited, snapshot, complete, failure)) << to.toStdString();
    EXPECT_EQ(failure.rfind("manifest.json ", 0), 0u) << failure;
  }
}

TEST(ManifestTest, PathsStayInsideTheFolder) {
  for (const char* path : {"a.wav", "instrument-1/ws-001.wav"}) EXPECT_TRUE(SafeRelativePath(path));
  for (const char* path : {"", "/a", "a//b", "a/", "..", "a/../b", "./a", "a\\b"}) {
    EXPECT_FALSE(SafeRelativePath(path)) << path;
  }
}

}  // namespace
}  // namespace kelvora::batch::test
