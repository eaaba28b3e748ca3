#include "cli/WaveSampleTarget.h"

#include <algorithm>

#include "batch/SlotPath.h"
#include "cli/ExitCode.h"
#include "cli/Interrupt.h"
#include "cli/SnapshotScope.h"

namespace kelvora::cli {

int WaveSampleTarget::Find(CommandContext& context, const std::string& slotText) {
  std::string error;
  const std::optional<batch::SlotPath> slot = batch::ParseSlotPath(slotText, error);
  if (!slot) return context.Fail(kExitBadUsage, error);
  if (!slot->HasWaveSample()) {
    return context.Fail(kExitBadUsage, "'" + slotText + "' names no wavesample; give I/L/W.");
  }
  int exit = kExitDone;
  protocol::TEps* eps = context.Sampler(exit);
  if (!eps) return exit;
  std::string failure;
  if (!ReadSnapshot(*eps, slot, snapshot_, failure)) return context.Fail(kExitFailed, failure);
  if (Interrupt::Requested()) return kExitInterrupted;
  batch::SlotPath wavesample = *slot;
  wavesample.layer = -1;  // found by its number; the layer named is checked below
  Narrow(snapshot_, wavesample);
  if (const std::string missing = Missing(snapshot_, wavesample); !missing.empty()) {
    return context.Fail(kExitFailed, "The sampler holds no wavesample " + slotText + ".");
  }
  waveSample_ = &Instrument().waveSamples.front();
  if (waveSample_->layer >= 0 && waveSample_->layer != slot->layer) {
    return context.Fail(kExitFailed, "Wavesample " + std::to_string(slot->waveSample) +
                                         " of instrument " + std::to_string(slot->instrument + 1) +
                                         " is in layer " + std::to_string(waveSample_->layer + 1) +
                                         ", not in layer " + std::to_string(slot->layer + 1) + ".");
  }
  return kExitDone;
}

std::string WaveSampleTarget::Label() const {
  const std::string slot =
      batch::FormatWaveSample(Instrument().index, waveSample_->layer, waveSample_->number);
  return waveSample_->Name().empty() ? slot : slot + " " + waveSample_->Name();
}

void WaveSampleTarget::Aim(protocol::TEps& eps) const {
  std::copy(waveSample_->record.begin(), waveSample_->record.end(), eps.WsParams);
  eps.Instrument = Instrument().index;
  eps.Layer = std::max(waveSample_->layer, 0);
  eps.WaveSample = waveSample_->number;
}

}  // namespace kelvora::cli
