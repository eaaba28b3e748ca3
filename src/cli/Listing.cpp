#include "cli/Listing.h"

#include <QJsonArray>
#include <cstdio>

#include "batch/KeyNames.h"
#include "batch/SlotPath.h"
#include "protocol/NameCodec.h"
#include "protocol/Records.h"

namespace kelvora::cli {

namespace {

using namespace protocol;

constexpr int kInstrSizeWord = 15;
constexpr int kWsCopyLayer = 13;
constexpr int kBlockWords = 256;
constexpr const char* kModes[] = {"Forward - No Loop", "Backward - No Loop", "Loop Forward",
                                  "Loop Bidirectional", "Loop and Release"};

int HighByte(int word) { return (word >> 8) & 0xFF; }

QString Text(const std::string& text) { return QString::fromStdString(text); }

std::string Str(const QJsonValue& value) { return value.toString().toStdString(); }

std::string Num(const QJsonValue& value) {
  return std::to_string(static_cast<long long>(value.toDouble()));
}

std::string Fixed(double value, const char* format) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

QJsonObject Key(int key) { return {{"number", key}, {"name", Text(batch::KeyName(key))}}; }

QJsonObject LayerJson(int instrument, const batch::LayerImage& layer) {
  return {{"number", layer.index + 1},
          {"slot", Text(std::to_string(instrument + 1) + "/" + std::to_string(layer.index + 1))},
          {"name", Text(layer.Name())},
          {"waveSamples", QJsonArray()}};
}

QJsonObject InstrumentJson(const batch::InstrumentImage& entry) {
  const int blocks = entry.record[kInstrSizeWord] & 0xFFFF;
  QJsonArray layers;
  for (const batch::LayerImage& layer : entry.layers) layers.append(LayerJson(entry.index, layer));
  return {{"number", entry.index + 1},
          {"slot", Text(std::to_string(entry.index + 1))},
          {"name", Text(entry.Name())},
          {"memoryBlocks", blocks},
          {"memoryWords", static_cast<double>(blocks) * kBlockWords},
          {"layers", layers},
          {"waveSamplesWithoutLayer", QJsonArray()}};
}

// Each wavesample goes under its layer, or with the instrument when no layer names it.
void PlaceWaveSamples(const batch::InstrumentImage& entry, QJsonObject& instrument) {
  QJsonArray layers = instrument["layers"].toArray();
  QJsonArray homeless;
  for (const batch::WaveSampleImage& ws : entry.waveSamples) {
    const QJsonObject json = WaveSampleJson(entry.index, ws);
    bool placed = false;
    for (qsizetype l = 0; l < layers.size() && !placed; ++l) {
      QJsonObject layer = layers[l].toObject();
      if (layer["number"].toInt() != ws.layer + 1) continue;
      QJsonArray list = layer["waveSamples"].toArray();
      list.append(json);
      layer["waveSamples"] = list;
      layers[l] = layer;
      placed = true;
    }
    if (!placed) homeless.append(json);
  }
  instrument["layers"] = layers;
  instrument["waveSamplesWithoutLayer"] = homeless;
}

std::string WaveSampleLine(const QJsonObject& ws) {
  std::string line = "    " + Str(ws["slot"]) + "  " + Str(ws["name"]);
  if (ws["copyOf"].isString()) line += "  copy of " + Str(ws["copyOf"]);
  line += "  " + Num(ws["length"]) + " samples " + Fixed(ws["seconds"].toDouble(), "%.3f") +
          " s  " + Num(ws["rate"]) + " Hz  root " + Str(ws["rootKey"]["name"]) + "  keys " +
          Str(ws["lowKey"]["name"]) + ".." + Str(ws["highKey"]["name"]) + "  " +
          Str(ws["playbackMode"]) + "  start " + Num(ws["sampleStart"]) + " end " +
          Num(ws["sampleEnd"]);
  if (ws["loops"].toBool()) {
    line += "  loop " + Num(ws["loopStart"]) + "-" + Num(ws["loopEnd"]);
  }
  return line;
}

}  // namespace

QJsonObject WaveSampleJson(int instrument, const batch::WaveSampleImage& waveSample) {
  const int* r = waveSample.record.data();
  const int start = GetPosition(r, kWsSampleStart);
  const int end = GetPosition(r, kWsSampleEnd);
  const int rate = SampleRateFromCode(r[kWsRate]);
  const int mode = HighByte(r[kWsPlaybackMode]);
  const int source = HighByte(r[kWsCopySource]);
  const int length = end > start ? end - start : 0;
  QJsonObject json{
      {"number", waveSample.number},
      {"slot", Text(batch::FormatWaveSample(instrument, waveSample.layer, waveSample.number))},
      {"name", Text(DecodeName(r))},
      {"copyOf", source == 0 ? QJsonValue()
                             : QJsonValue(Text(batch::FormatWaveSample(
                                   instrument, HighByte(r[kWsCopyLayer]), source)))},
      {"sampleStart", start},
      {"sampleEnd", end},
      {"length", length},
      {"seconds", rate > 0 ? static_cast<double>(length) / rate : 0.0},
      {"rate", rate},
      {"rootKey", Key(HighByte(r[kWsRootKey]))},
      {"lowKey", Key(HighByte(r[kWsLowKey]))},
      {"highKey", Key(HighByte(r[kWsHighKey]))},
      {"playbackMode", Text(mode < 5 ? kModes[mode] : "mode " + std::to_string(mode))},
      {"loops", mode >= 2 && mode <= 4},
      {"loopStart", GetPosition(r, kWsLoopStart)},
      {"loopEnd", GetPosition(r, kWsLoopEnd)}};
  return json;
}

QJsonObject ListingJson(const batch::Snapshot& snapshot) {
  QJsonArray instruments;
  double blocks = 0;
  for (const batch::InstrumentImage& entry : snapshot.instruments) {
    QJsonObject instrument = InstrumentJson(entry);
    PlaceWaveSamples(entry, instrument);
    blocks += instrument["memoryBlocks"].toDouble();
    instruments.append(instrument);
  }
  return {{"model", Text(batch::ModelOfId(snapshot.InstrumentId()))},
          {"memoryBlocksUsed", blocks},
          {"memoryWordsUsed", blocks * kBlockWords},
          {"memoryFree", QJsonValue()},
          {"instruments", instruments}};
}

std::vector<std::string> ListingText(const QJsonObject& listing) {
  std::vector<std::string> lines;
  const QJsonArray instruments = listing["instruments"].toArray();
  if (instruments.isEmpty()) return {"No instruments."};
  lines.push_back("Model " + Str(listing["model"]) + "; the instruments listed take " +
                  Num(listing["memoryBlocksUsed"]) + " blocks (" + Num(listing["memoryWordsUsed"]) +
                  " words); free memory is not told over MIDI.");
  for (const QJsonValue value : instruments) {
    const QJsonObject instrument = value.toObject();
    lines.push_back(Str(instrument["slot"]) + "  " + Str(instrument["name"]) + "  " +
                    Num(instrument["memoryBlocks"]) + " blocks (" + Num(instrument["memoryWords"]) +
                    " words)");
    for (const QJsonValue layerValue : instrument["layers"].toArray()) {
      const QJsonObject layer = layerValue.toObject();
      lines.push_back("  " + Str(layer["slot"]) + "  " + Str(layer["name"]));
      for (const QJsonValue ws : layer["waveSamples"].toArray()) {
        lines.push_back(WaveSampleLine(ws.toObject()));
      }
    }
    for (const QJsonValue ws : instrument["waveSamplesWithoutLayer"].toArray()) {
      lines.push_back(WaveSampleLine(ws.toObject()) + "  (no layer's key map names it)");
    }
  }
  return lines;
}

}  // namespace kelvora::cli
