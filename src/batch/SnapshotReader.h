#pragma once

#include <string>
#include <vector>

#include "batch/Snapshot.h"
#include "protocol/Eps.h"
#include "protocol/EpsPortSink.h"

namespace kelvora::batch {

// Reads the sampler's parameter records over an open session: every instrument, every layer in
// use and every wavesample in use, and which layer holds each wavesample (the layers' key maps
// tell it when an instrument has several). Empty instrument slots answer "not loaded" and are
// left out. The session's current instrument, layer and wavesample are restored afterwards.
class SnapshotReader {
 public:
  explicit SnapshotReader(protocol::TEps& eps);

  // False, with a sentence in `failure`, when the sampler stopped answering or refused an
  // instrument or layer record its instrument records list. A wavesample whose record the
  // sampler refuses is left out and named in Skipped().
  bool Read(Snapshot& snapshot, std::string& failure);
  const std::vector<std::string>& Skipped() const { return skipped_; }
  // One instrument: absent (true, `present` false) when the slot is empty.
  bool ReadInstrument(int instrument, InstrumentImage& image, bool& present, std::string& failure);

  // Single records; false when the record did not arrive. The GET is sent for the session's
  // channel; `lastResult` keeps the first response processed.
  bool ReadInstrumentRecord(int instrument, Record& record);
  bool ReadLayerRecord(int instrument, int layer, Record& record);
  bool ReadWaveSampleRecord(int instrument, int layer, int waveSample, Record& record);
  int LastResult() const { return lastResult_; }
  // Why the last record did not come, as a sentence about `what` ("the record of ...").
  std::string Failure(const std::string& what) const;

 private:
  bool ReadWaveSampleRecord(const InstrumentImage& image, WaveSampleImage& ws);
  bool Fetch(int expected, const int* source, int words, Record& record);
  void AssignLayers(InstrumentImage& image) const;

  protocol::TEps& eps_;
  protocol::EpsPortSink sink_;
  int lastResult_ = 0;
  std::vector<std::string> skipped_;
};

// Whether a result means the sampler sent nothing at all.
bool IsSilence(int result);

}  // namespace kelvora::batch
