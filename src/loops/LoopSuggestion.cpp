#include "loops/LoopSuggestion.h"

#include <algorithm>
#include <cstdlib>

#include "loops/ZeroCrossings.h"

namespace kelvora::loops {

namespace {

// What a crossing contributes to a seam, in whole sample units: the sample next to the seam,
// the step and the bend beside it.
struct Side {
  int position;
  int value;
  int step;
  int bend;
};

std::vector<Side> StartSides(const SampleWindow& window) {
  std::vector<Side> sides;
  for (int p : RisingCrossings(window)) {
    if (!window.HoldsRange(p, p + kSeamReach)) continue;
    const int a0 = window.At(p), a1 = window.At(p + 1), a2 = window.At(p + 2);
    sides.push_back({p, a0, a1 - a0, a2 - 2 * a1 + a0});
  }
  return sides;
}

std::vector<Side> EndSides(const SampleWindow& window) {
  std::vector<Side> sides;
  for (int p : RisingCrossings(window)) {
    if (!window.HoldsRange(p - kSeamReach, p)) continue;
    const int b1 = window.At(p - 1), b2 = window.At(p - 2), b3 = window.At(p - 3);
    sides.push_back({p, b1, b1 - b2, b1 - 2 * b2 + b3});
  }
  return sides;
}

// Twice the value jump plus twice the slope jump plus the curvature jump: whole numbers, so
// equal seams tie exactly.
long long Score(const Side& start, const Side& end) {
  const long long value = std::llabs(2LL * (start.value - end.value) - end.step - start.step);
  const long long slope = std::llabs(static_cast<long long>(start.step) - end.step);
  const long long bend = std::llabs(static_cast<long long>(start.bend) - end.bend);
  return value + 2 * slope + bend;
}

}  // namespace

std::vector<SampleRange> PlanSuggestion(int from, int to) {
  if (to <= from) return {};
  if (to - from <= 2 * kSuggestWindow) return {{from, to}};
  return {{from, from + kSuggestWindow}, {to - kSuggestWindow, to}};
}

int PlannedSamples(const std::vector<SampleRange>& reads) {
  int samples = 0;
  for (const SampleRange& range : reads) samples += range.Count();
  return samples;
}

std::optional<LoopCandidate> SuggestLoop(const SampleWindow& startWindow,
                                         const SampleWindow& endWindow, int minLength) {
  const std::vector<Side> starts = StartSides(startWindow);
  const std::vector<Side> ends = EndSides(endWindow);
  std::optional<LoopCandidate> best;
  long long bestScore = 0;
  for (const Side& end : ends) {
    for (const Side& start : starts) {
      const int length = end.position - start.position;
      if (length < std::max(minLength, 1)) continue;
      const long long score = Score(start, end);
      const bool better = !best || score < bestScore ||
                          (score == bestScore && length > best->loopEnd - best->loopStart);
      if (!better) continue;
      bestScore = score;
      best = LoopCandidate{start.position, end.position, {}};
    }
  }
  if (best) best->measure = *MeasureSeam(endWindow, startWindow, best->loopStart, best->loopEnd);
  return best;
}

}  // namespace kelvora::loops
