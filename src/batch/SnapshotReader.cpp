#include "batch/SnapshotReader.h"

#include <vector>

#include "batch/StatusText.h"
#include "protocol/Occupancy.h"
#include "protocol/Records.h"
#include "protocol/Sysex.h"

namespace kelvora::batch {

using namespace protocol;

namespace {

// The session's current target, put back when a read is over.
class TargetKeeper {
 public:
  explicit TargetKeeper(TEps& eps) : eps_(eps), saved_(eps.CurrentTarget()) {}
  ~TargetKeeper() {
    eps_.Instrument = saved_.instrument;
    eps_.Layer = saved_.layer;
    eps_.WaveSample = saved_.waveSample;
  }

 private:
  TEps& eps_;
  Target saved_;
};

bool InUse(const Record& record, int first) { return record[first] != 0 || record[first + 1] != 0; }

}  // namespace

bool IsSilence(int result) { return result == prNothing || result == prNothingAfterWait; }

SnapshotReader::SnapshotReader(TEps& eps) : eps_(eps), sink_(eps.MidiOut) {}

std::string SnapshotReader::Failure(const std::string& what) const {
  if (IsSilence(lastResult_)) return "The sampler did not answer when asked for " + what + ".";
  if (lastResult_ == prAck || lastResult_ == prError) {
    return "The sampler did not send " + what + " whole.";
  }
  return "The sampler refused to send " + what + " (" + StatusText(eps_.LastResponseCode()) + ").";
}

bool SnapshotReader::Read(Snapshot& snapshot, std::string& failure) {
  snapshot.instruments.clear();
  skipped_.clear();
  for (int i = 0; i < kInstruments; ++i) {
    InstrumentImage image;
    bool present = false;
    if (!ReadInstrument(i, image, present, failure)) return false;
    if (present) snapshot.instruments.push_back(std::move(image));
  }
  return true;
}

bool SnapshotReader::ReadInstrument(int instrument, InstrumentImage& image, bool& present,
                                    std::string& failure) {
  const std::string slot = "instrument " + std::to_string(instrument + 1);
  image = InstrumentImage{};
  image.index = instrument;
  present = ReadInstrumentRecord(instrument, image.record);
  if (!present) {
    if (lastResult_ == prNoInstrument) return true;
    failure = Failure("the record of " + slot);
    return false;
  }
  for (int l = 0; l < kLayers; ++l) {
    if (!InUse(image.record, kInstrLayerWords + 2 * l)) continue;
    LayerImage layer{l, {}, {}};
    if (!ReadLayerRecord(instrument, l, layer.record)) {
      failure = Failure("the record of layer " + std::to_string(l + 1) + " of " + slot);
      return false;
    }
    image.layers.push_back(std::move(layer));
  }
  AssignLayers(image);
  std::vector<WaveSampleImage> kept;
  for (WaveSampleImage& ws : image.waveSamples) {
    if (ReadWaveSampleRecord(image, ws)) {
      kept.push_back(std::move(ws));
    } else if (IsSilence(lastResult_)) {
      failure = Failure("the record of wavesample " + std::to_string(ws.number) + " of " + slot);
      return false;
    } else {
      skipped_.push_back(
          Failure("the record of wavesample " + std::to_string(ws.number) + " of " + slot));
    }
  }
  image.waveSamples = std::move(kept);
  return true;
}

// A wavesample on no key of an instrument with several layers is asked for in each layer in
// turn, for a sampler that wants the right one.
bool SnapshotReader::ReadWaveSampleRecord(const InstrumentImage& image, WaveSampleImage& ws) {
  std::vector<int> layers;
  if (ws.layer >= 0) layers.push_back(ws.layer);
  for (const LayerImage& layer : image.layers) {
    if (ws.layer < 0) layers.push_back(layer.index);
  }
  if (layers.empty()) layers.push_back(0);
  for (int layer : layers) {
    if (ReadWaveSampleRecord(image.index, layer, ws.number, ws.record)) return true;
    if (IsSilence(lastResult_)) return false;
  }
  return false;
}

// The same derivation as the configuration read: with several layers the key maps tell which
// layer holds a wavesample; with one, it holds them all.
void SnapshotReader::AssignLayers(InstrumentImage& image) const {
  Occupancy occupancy;
  std::vector<int> layersInUse;
  const int count = DeriveInstrument(occupancy, image.index, image.record.data(), &layersInUse);
  if (count > 1) {
    for (const LayerImage& layer : image.layers) {
      ApplyLayerRecord(occupancy, image.index, layer.index, layer.record.data());
    }
  } else {
    ApplySingleLayer(occupancy, image.index, count == 1 ? layersInUse.back() : -1);
  }
  for (int k = 0; k < kWaveSamples; ++k) {
    if (!occupancy.WsInUse[image.index][k]) continue;
    WaveSampleImage ws;
    ws.number = k + 1;
    ws.layer = occupancy.WsLayer[image.index][k];
    image.waveSamples.push_back(std::move(ws));
  }
}

bool SnapshotReader::ReadInstrumentRecord(int instrument, Record& record) {
  const TargetKeeper keep(eps_);
  eps_.Instrument = instrument;
  SendGetInstrumentParams(sink_, eps_.Channel(), instrument);
  return Fetch(prInstrumentParams, eps_.InstrParams, kInstrParamWords, record);
}

bool SnapshotReader::ReadLayerRecord(int instrument, int layer, Record& record) {
  const TargetKeeper keep(eps_);
  eps_.Instrument = instrument;
  eps_.Layer = layer;
  SendGetLayerParams(sink_, eps_.Channel(), instrument, layer);
  return Fetch(prLayerParams, eps_.LayerParams, kLayerParamWords, record);
}

bool SnapshotReader::ReadWaveSampleRecord(int instrument, int layer, int waveSample,
                                          Record& record) {
  const TargetKeeper keep(eps_);
  eps_.Instrument = instrument;
  eps_.Layer = layer;
  eps_.WaveSample = waveSample;
  SendGetWsParams(sink_, eps_.Channel(), eps_.CurrentTarget());
  return Fetch(prWsParams, eps_.WsParams, kWsParamWords, record);
}

// ACK, then the header and the record; the session acknowledges the header itself.
bool SnapshotReader::Fetch(int expected, const int* source, int words, Record& record) {
  lastResult_ = eps_.ProcessInput();
  if (lastResult_ != prAck) return false;
  const int result = eps_.ProcessInput();
  if (result != expected) {
    lastResult_ = result;
    return false;
  }
  record.assign(source, source + words);
  for (int& word : record) word &= 0xFFFF;
  return true;
}

}  // namespace kelvora::batch
