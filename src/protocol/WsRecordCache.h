#pragma once

#include <array>
#include <optional>

#include "protocol/Occupancy.h"
#include "protocol/Records.h"

namespace kelvora::protocol {

// Wavesample parameter records as last read, for the browser's details: reading one costs about
// 0.15 s on the wire. The session forgets a record whenever it sends the sampler something that
// can change it (an edit written back, an upload, a delete, the end of an edit).
class WsRecordCache {
 public:
  using Record = std::array<int, kWsRecordWords>;

  // instrument 0..7, waveSample 1..127; numbers outside are never cached.
  void Put(int instrument, int waveSample, const int* record);
  const Record* Find(int instrument, int waveSample) const;
  void Forget(int instrument, int waveSample);
  void ForgetInstrument(int instrument);
  void ForgetAll();
  // Drops what the configuration no longer lists.
  void KeepListed(const Occupancy& occupancy);

 private:
  static bool Valid(int instrument, int waveSample);
  std::array<std::array<std::optional<Record>, kWaveSamples>, kInstruments> records_;
};

}  // namespace kelvora::protocol
