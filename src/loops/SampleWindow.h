#pragma once

#include <cstdint>
#include <vector>

namespace kelvora::loops {

// Consecutive samples of a wavesample as read from the sampler: samples[i] is the sample at
// position first + i.
struct SampleWindow {
  int first = 0;
  std::vector<int> samples;

  int End() const { return first + static_cast<int>(samples.size()); }  // one past the last
  bool Holds(int position) const { return position >= first && position < End(); }
  // Positions from..to - 1 all lie in the window.
  bool HoldsRange(int from, int to) const { return from >= first && to <= End() && from <= to; }
  int At(int position) const { return samples[static_cast<size_t>(position - first)]; }
};

}  // namespace kelvora::loops
