#include "protocol/Eps.h"

namespace kelvora::protocol {

// Each edit is carried out by the sampler on its own memory; the caller reads the answer with
// WaitResult and then fetches a fresh overview, which the stale flag forces.

void TEps::ClearData(int start, int end) {
  SendClearData(output_, Channel(), CurrentTarget(), start, end);
  OverviewStale = true;
}

void TEps::FadeIn(int start, int end, int value) {
  SendFadeIn(output_, Channel(), CurrentTarget(), start, end, static_cast<uint8_t>(value));
  OverviewStale = true;
}

void TEps::FadeOut(int start, int end, int value) {
  SendFadeOut(output_, Channel(), CurrentTarget(), start, end, static_cast<uint8_t>(value));
  OverviewStale = true;
}

void TEps::NormalizeGain() {
  SendNormalizeGain(output_, Channel(), CurrentTarget());
  OverviewStale = true;
}

void TEps::ReverseData(int start, int end) {
  SendReverseData(output_, Channel(), CurrentTarget(), start, end);
  OverviewStale = true;
}

void TEps::ScaleData(int start, int end, int level1, int level2, int depth) {
  SendScaleData(output_, Channel(), CurrentTarget(), start, end, level1, level2, depth);
  OverviewStale = true;
}

// Only opening uses it, to lay data past the sample end that is silenced right after.
void TEps::CopyData(int sourceStart, int sourceEnd, int destination) {
  const Target self = CurrentTarget();
  SendCopyData(output_, Channel(), self, self, sourceStart, sourceEnd, destination);
}

}  // namespace kelvora::protocol
