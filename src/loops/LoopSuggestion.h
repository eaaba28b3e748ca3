#pragma once

#include <optional>
#include <vector>

#include "loops/SampleWindow.h"
#include "loops/SeamQuality.h"

namespace kelvora::loops {

// Samples in one window Suggest Loop reads: 4096 samples cost about 4 s at 31250 baud.
constexpr int kSuggestWindow = 4096;

// A range of samples to read, [start, end).
struct SampleRange {
  int start = 0;
  int end = 0;
  int Count() const { return end - start; }
};

// What Suggest Loop reads for a region [from, to): the whole region in one read when it holds at
// most two windows, else a window at its start (for the loop start) and one at its end (for the
// loop end). Nothing for an empty region.
std::vector<SampleRange> PlanSuggestion(int from, int to);
int PlannedSamples(const std::vector<SampleRange>& reads);

struct LoopCandidate {
  int loopStart = 0;
  int loopEnd = 0;  // where playback jumps back to the loop start
  SeamMeasure measure;
};

// The best loop between rising zero crossings: the loop start among the crossings of
// `startWindow`, the loop end among those of `endWindow` (the same window may serve both),
// at least `minLength` samples long. Pairs are scored by the seam's jumps in value, slope and
// curvature; of pairs that score the same the longer loop wins. None when no pair fits.
std::optional<LoopCandidate> SuggestLoop(const SampleWindow& startWindow,
                                         const SampleWindow& endWindow, int minLength);

}  // namespace kelvora::loops
