#include "batch/Snapshot.h"

#include <algorithm>

#include "protocol/NameCodec.h"
#include "protocol/Records.h"

namespace kelvora::batch {

namespace {

using namespace protocol;

constexpr int kInstrSizeWord = 15;  // instrument size in blocks of 256 words
constexpr int kInstrIdWord = 25;
constexpr int64_t kBlockWords = 256;

std::string NameOf(const Record& record) {
  if (record.size() < static_cast<size_t>(kNameLength)) return {};
  return DecodeName(record.data() + kNameWord);
}

}  // namespace

std::string WaveSampleImage::Name() const { return NameOf(record); }

int WaveSampleImage::CopyOf() const {
  if (record.size() <= static_cast<size_t>(kWsCopySource)) return 0;
  return (record[kWsCopySource] >> 8) & 0xFF;
}

std::string LayerImage::Name() const { return NameOf(record); }

std::string InstrumentImage::Name() const { return NameOf(record); }

WaveSampleImage* InstrumentImage::Find(int number) {
  for (WaveSampleImage& ws : waveSamples) {
    if (ws.number == number) return &ws;
  }
  return nullptr;
}

const WaveSampleImage* InstrumentImage::Find(int number) const {
  return const_cast<InstrumentImage*>(this)->Find(number);
}

const LayerImage* InstrumentImage::FindLayer(int index) const {
  for (const LayerImage& layer : layers) {
    if (layer.index == index) return &layer;
  }
  return nullptr;
}

int InstrumentImage::DataLength(int holder) const {
  int length = 0;
  for (const WaveSampleImage& ws : waveSamples) {
    if (ws.number != holder && ws.CopyOf() != holder) continue;
    if (ws.record.size() < static_cast<size_t>(kWsRecordWords)) continue;
    length = std::max(length, GetPosition(ws.record.data(), kWsSampleEnd));
  }
  return length;
}

InstrumentImage* Snapshot::Find(int index) {
  for (InstrumentImage& instrument : instruments) {
    if (instrument.index == index) return &instrument;
  }
  return nullptr;
}

const InstrumentImage* Snapshot::Find(int index) const {
  return const_cast<Snapshot*>(this)->Find(index);
}

int Snapshot::InstrumentId() const {
  for (const InstrumentImage& instrument : instruments) {
    if (instrument.record.size() > static_cast<size_t>(kInstrIdWord)) {
      return instrument.record[kInstrIdWord] & 0xFFFF;
    }
  }
  return -1;
}

int64_t Snapshot::UsedWords() const {
  int64_t words = 0;
  for (const InstrumentImage& instrument : instruments) {
    if (instrument.record.size() > static_cast<size_t>(kInstrSizeWord)) {
      words += (instrument.record[kInstrSizeWord] & 0xFFFF) * kBlockWords;
    }
  }
  return words;
}

int Snapshot::HolderCount() const {
  int count = 0;
  for (const InstrumentImage& instrument : instruments) {
    count +=
        static_cast<int>(std::count_if(instrument.waveSamples.begin(), instrument.waveSamples.end(),
                                       [](const auto& ws) { return ws.CopyOf() == 0; }));
  }
  return count;
}

std::string ModelOfId(int instrumentId) {
  if (instrumentId < 0) return "unknown";
  if (instrumentId == 0xFFFF) return "EPS-16 PLUS";
  if (instrumentId == 0xFFFE) return "ASR-10";
  return "EPS";
}

}  // namespace kelvora::batch
