#include "protocol/WsRecordCache.h"

#include <algorithm>

namespace kelvora::protocol {

bool WsRecordCache::Valid(int instrument, int waveSample) {
  return instrument >= 0 && instrument < kInstruments && waveSample >= 1 &&
         waveSample <= kWaveSamples;
}

void WsRecordCache::Put(int instrument, int waveSample, const int* record) {
  if (!Valid(instrument, waveSample)) return;
  Record& slot = records_[instrument][waveSample - 1].emplace();
  std::copy(record, record + kWsRecordWords, slot.begin());
}

const WsRecordCache::Record* WsRecordCache::Find(int instrument, int waveSample) const {
  if (!Valid(instrument, waveSample)) return nullptr;
  const auto& slot = records_[instrument][waveSample - 1];
  return slot ? &*slot : nullptr;
}

void WsRecordCache::Forget(int instrument, int waveSample) {
  if (Valid(instrument, waveSample)) records_[instrument][waveSample - 1].reset();
}

void WsRecordCache::ForgetInstrument(int instrument) {
  if (instrument < 0 || instrument >= kInstruments) return;
  for (auto& slot : records_[instrument]) slot.reset();
}

void WsRecordCache::ForgetAll() {
  for (int i = 0; i < kInstruments; ++i) ForgetInstrument(i);
}

void WsRecordCache::KeepListed(const Occupancy& occupancy) {
  for (int i = 0; i < kInstruments; ++i) {
    for (int w = 0; w < kWaveSamples; ++w) {
      if (!occupancy.InstrInUse[i] || !occupancy.WsInUse[i][w]) records_[i][w].reset();
    }
  }
}

}  // namespace kelvora::protocol
