#pragma once

#include <string>

#include "batch/Snapshot.h"
#include "cli/CommandContext.h"

namespace kelvora::cli {

// One wavesample a command acts on, found in the sampler by its slot text: its instrument's
// records as read now, and the wavesample's own. Run reports and returns the exit code when it
// is not there.
class WaveSampleTarget {
 public:
  // kExitDone, or the exit code after telling why (a slot that is no wavesample is bad usage,
  // one the sampler does not hold a failure).
  int Find(CommandContext& context, const std::string& slotText);

  const batch::InstrumentImage& Instrument() const { return snapshot_.instruments.front(); }
  const batch::WaveSampleImage& WaveSample() const { return *waveSample_; }
  // "1/1/2 Decay Saw".
  std::string Label() const;
  // Points the session at the wavesample with its record in WsParams.
  void Aim(protocol::TEps& eps) const;

 private:
  batch::Snapshot snapshot_;
  const batch::WaveSampleImage* waveSample_ = nullptr;
};

}  // namespace kelvora::cli
