#pragma once

#include <string>

#include "batch/Snapshot.h"
#include "protocol/Eps.h"
#include "protocol/EpsPortSink.h"
#include "protocol/Sysex.h"

namespace kelvora::batch {

// The commands a restore sends besides the sample data, each waiting for the sampler's answer:
// create and delete, the sampler's own copy of data, and the three records written back. Every
// call returns true on ACK; otherwise Failure() says what the sampler answered.
class SamplerCommands {
 public:
  explicit SamplerCommands(protocol::TEps& eps);

  bool CreateInstrument(int instrument);
  // A new layer; the sampler also makes one wavesample in it.
  bool CreateLayer(const protocol::Target& t);
  // A new wavesample whose data is one cycle of a square wave.
  bool CreateWaveSample(const protocol::Target& t);
  bool DeleteWaveSample(const protocol::Target& t);
  // The sampler copies [0, end) of the source's data to the start of the destination's.
  bool CopyData(const protocol::Target& source, const protocol::Target& destination, int end);
  bool PutInstrumentRecord(int instrument, const Record& record);
  bool PutLayerRecord(int instrument, int layer, const Record& record);
  bool PutWaveSampleRecord(const protocol::Target& t, const Record& record);
  // The key range through PUT PARAMETER (wavesample page 8, items 11 and 12), which gets no
  // answer: the protocol asks for a 2-second pause before the next command.
  void PutKeyRange(const protocol::Target& t, int low, int high);

  const std::string& Failure() const { return failure_; }

 private:
  void SendCommand(uint8_t type, const protocol::Target& t);
  bool Expect(const std::string& what, int result);
  bool PutBlock(uint8_t type, const protocol::Target& t, const Record& record,
                const std::string& what);

  protocol::TEps& eps_;
  protocol::EpsPortSink sink_;
  std::string failure_;
};

}  // namespace kelvora::batch
