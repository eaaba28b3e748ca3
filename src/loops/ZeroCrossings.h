#pragma once

#include <optional>
#include <vector>

#include "loops/SampleWindow.h"

namespace kelvora::loops {

// A rising zero crossing at position p: the sample before p is negative and the sample at p is
// not. Loop points sit on them: the loop start on the first sample of a rising slope, the loop
// end (where playback jumps back) on the same kind of sample, so the jump joins a negative
// sample to one that is not, as the wave itself does.
bool IsRisingCrossing(const SampleWindow& window, int position);

// Every rising crossing the window holds (with the sample before it), in increasing position.
std::vector<int> RisingCrossings(const SampleWindow& window);

// The rising crossing nearest to `position` no further than `radius` samples from it, judged by
// the window's samples alone; the earlier one of two at the same distance. None when the window
// holds none in reach.
std::optional<int> NearestRisingCrossing(const SampleWindow& window, int position, int radius);

// The next rising crossing after `position` (direction 1) or before it (-1) that the window
// holds; none when there is none.
std::optional<int> NextRisingCrossing(const SampleWindow& window, int position, int direction);

}  // namespace kelvora::loops
