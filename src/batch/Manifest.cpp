#include "batch/Manifest.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "protocol/Occupancy.h"
#include "protocol/Records.h"

namespace kelvora::batch {

namespace {

using namespace protocol;

constexpr int kFirstMapKey = 21;  // the layer map covers the 88 keys 21..108
constexpr const char* kModeNames[] = {"forward", "backward", "loop forward", "loop bidirectional",
                                      "loop and release"};

// Each object once, in increasing order, as the manifest lists them.
template <class Item>
bool Increasing(const std::vector<Item>& items, int Item::*key) {
  for (size_t n = 1; n < items.size(); ++n) {
    if (items[n - 1].*key >= items[n].*key) return false;
  }
  return true;
}

int HighByte(int word) { return (word >> 8) & 0xFF; }

QString Text(const std::string& text) { return QString::fromStdString(text); }

QJsonObject FileJson(const StoredFile& file) {
  return {{"file", Text(file.path)}, {"sha256", Text(file.sha256)}};
}

QJsonValue ModeJson(int word) {
  const int mode = word >> 8;
  if (word % 256 != 0 || mode < 0 || mode > 4) return word;
  return kModeNames[mode];
}

void AddWaveSampleFacts(QJsonObject& object, const Record& record) {
  if (record.size() < static_cast<size_t>(kWsRecordWords)) return;
  const int* r = record.data();
  object["rootKey"] = HighByte(r[kWsRootKey]);
  object["keyRange"] = QJsonArray{HighByte(r[kWsLowKey]), HighByte(r[kWsHighKey])};
  object["rate"] = SampleRateFromCode(r[kWsRate]);
  object["playbackMode"] = ModeJson(r[kWsPlaybackMode]);
  object["sampleStart"] = GetPosition(r, kWsSampleStart);
  object["sampleEnd"] = GetPosition(r, kWsSampleEnd);
  object["loopStart"] = GetPosition(r, kWsLoopStart);
  object["loopEnd"] = GetPosition(r, kWsLoopEnd);
}

QJsonObject WaveSampleJson(const WaveSampleImage& ws) {
  QJsonObject object{{"wavesample", ws.number},
                     {"layer", ws.layer < 0 ? QJsonValue() : QJsonValue(ws.layer + 1)},
                     {"name", Text(ws.Name())},
                     {"record", FileJson(ws.recordFile)}};
  if (ws.CopyOf() != 0) object["copyOf"] = ws.CopyOf();
  AddWaveSampleFacts(object, ws.record);
  if (ws.data) {
    QJsonObject data = FileJson(ws.data->file);
    data["samples"] = static_cast<double>(ws.data->samples);
    data["samplesSha256"] = Text(ws.data->samplesSha256);
    object["data"] = data;
  }
  return object;
}

QJsonObject LayerJson(const LayerImage& layer) {
  QJsonArray map;
  for (int word = kLayerMapFirst; word <= kLayerMapLast; ++word) {
    map.append(layer.record.size() > static_cast<size_t>(word) ? HighByte(layer.record[word]) : 0);
  }
  return {{"layer", layer.index + 1},
          {"name", Text(layer.Name())},
          {"record", FileJson(layer.recordFile)},
          {"keyMapFirstKey", kFirstMapKey},
          {"keyMap", map}};
}

QJsonObject InstrumentJson(const InstrumentImage& instrument) {
  QJsonArray layers;
  for (const LayerImage& layer : instrument.layers) layers.append(LayerJson(layer));
  QJsonArray waveSamples;
  for (const WaveSampleImage& ws : instrument.waveSamples) waveSamples.append(WaveSampleJson(ws));
  return {{"instrument", instrument.index + 1},
          {"name", Text(instrument.Name())},
          {"record", FileJson(instrument.recordFile)},
          {"layers", layers},
          {"wavesamples", waveSamples}};
}

// Reading: every check names what it found wrong.
class Parser {
 public:
  explicit Parser(std::string& failure) : failure_(failure) {}

  bool Fail(const std::string& what) {
    if (failure_.empty()) failure_ = "manifest.json " + what + ".";
    return false;
  }
  bool Number(const QJsonObject& object, const char* key, int low, int high, int& out) {
    const QJsonValue value = object[key];
    const double number = value.toDouble(-1);
    if (!value.isDouble() || number != static_cast<int>(number) || number < low || number > high) {
      return Fail("has no " + std::string(key) + " from " + std::to_string(low) + " to " +
                  std::to_string(high));
    }
    out = static_cast<int>(number);
    return true;
  }
  bool File(const QJsonValue& value, StoredFile& file) {
    const QJsonObject object = value.toObject();
    file.path = object["file"].toString().toStdString();
    file.sha256 = object["sha256"].toString().toStdString();
    if (!SafeRelativePath(file.path)) return Fail("names a file outside its folder");
    return Sha(file.sha256);
  }
  bool Sha(const std::string& sha) {
    const bool hex = sha.size() == 64 && sha.find_first_not_of("0123456789abcdef") == sha.npos;
    return hex || Fail("holds a malformed SHA-256");
  }
  bool Data(const QJsonObject& object, WaveSampleImage& ws);
  bool WaveSample(const QJsonValue& value, WaveSampleImage& ws);
  bool Layer(const QJsonValue& value, LayerImage& layer);
  bool Instrument(const QJsonValue& value, InstrumentImage& instrument);

 private:
  std::string& failure_;
};

bool Parser::Data(const QJsonObject& object, WaveSampleImage& ws) {
  if (!object.contains("data")) return true;
  const QJsonObject data = object["data"].toObject();
  StoredData stored;
  const double samples = data["samples"].toDouble(-1);
  if (samples < 0 || samples > kMaxPosition) return Fail("holds a bad sample count");
  stored.samples = static_cast<int64_t>(samples);
  stored.samplesSha256 = data["samplesSha256"].toString().toStdString();
  if (!File(data, stored.file) || !Sha(stored.samplesSha256)) return false;
  ws.data = std::move(stored);
  return true;
}

bool Parser::WaveSample(const QJsonValue& value, WaveSampleImage& ws) {
  const QJsonObject object = value.toObject();
  if (!Number(object, "wavesample", 1, kWaveSamples, ws.number)) return false;
  ws.layer = -1;
  if (!object["layer"].isNull() && Number(object, "layer", 1, kLayers, ws.layer)) --ws.layer;
  return failure_.empty() && File(object["record"], ws.recordFile) && Data(object, ws);
}

bool Parser::Layer(const QJsonValue& value, LayerImage& layer) {
  const QJsonObject object = value.toObject();
  if (!Number(object, "layer", 1, kLayers, layer.index)) return false;
  --layer.index;
  return File(object["record"], layer.recordFile);
}

bool Parser::Instrument(const QJsonValue& value, InstrumentImage& instrument) {
  const QJsonObject object = value.toObject();
  if (!Number(object, "instrument", 1, kInstruments, instrument.index)) return false;
  --instrument.index;
  if (!File(object["record"], instrument.recordFile)) return false;
  for (const QJsonValue& item : object["layers"].toArray()) {
    if (!Layer(item, instrument.layers.emplace_back())) return false;
  }
  for (const QJsonValue& item : object["wavesamples"].toArray()) {
    if (!WaveSample(item, instrument.waveSamples.emplace_back())) return false;
  }
  if (!Increasing(instrument.layers, &LayerImage::index) ||
      !Increasing(instrument.waveSamples, &WaveSampleImage::number)) {
    return Fail("lists a layer or wavesample twice");
  }
  return true;
}

}  // namespace

QByteArray ManifestJson(const Snapshot& snapshot, bool complete) {
  QJsonArray instruments;
  for (const InstrumentImage& instrument : snapshot.instruments) {
    instruments.append(InstrumentJson(instrument));
  }
  const QJsonObject sampler{{"model", Text(ModelOfId(snapshot.InstrumentId()))},
                            {"instrumentId", snapshot.InstrumentId()},
                            {"usedWords", static_cast<double>(snapshot.UsedWords())}};
  const QJsonObject root{{"format", kManifestFormat},
                         {"version", kManifestVersion},
                         {"complete", complete},
                         {"written", QDateTime::currentDateTimeUtc().toString(Qt::ISODate)},
                         {"sampler", sampler},
                         {"instruments", instruments}};
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool ParseManifest(const QByteArray& json, Snapshot& snapshot, bool& complete,
                   std::string& failure) {
  failure.clear();
  snapshot = Snapshot{};
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(json, &error);
  Parser parser(failure);
  if (document.isNull()) {
    return parser.Fail("is not valid JSON (" + error.errorString().toStdString() + ")");
  }
  const QJsonObject root = document.object();
  if (root["format"].toString() != kManifestFormat) return parser.Fail("is not a Kelvora backup");
  if (root["version"].toInt() != kManifestVersion) {
    return parser.Fail("has a version this program does not read");
  }
  complete = root["complete"].toBool();
  for (const QJsonValue& item : root["instruments"].toArray()) {
    if (!parser.Instrument(item, snapshot.instruments.emplace_back())) return false;
  }
  if (!Increasing(snapshot.instruments, &InstrumentImage::index)) {
    return parser.Fail("lists an instrument twice");
  }
  return true;
}

bool SafeRelativePath(const std::string& path) {
  if (path.empty() || path.front() == '/' || path.find('\\') != path.npos) return false;
  size_t start = 0;
  while (start <= path.size()) {
    const size_t end = std::min(path.find('/', start), path.size());
    const std::string part = path.substr(start, end - start);
    if (part.empty() || part == "." || part == "..") return false;
    start = end + 1;
  }
  return true;
}

}  // namespace kelvora::batch
