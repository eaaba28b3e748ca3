#include "sim/OverviewSections.h"

#include <algorithm>
#include <cstdlib>

namespace kelvora::sim {

Section OverviewSection(int64_t start, int64_t end, int i, OverviewReading reading) {
  const int64_t span = end - start;
  if (reading == OverviewReading::HalfRange) {
    const int64_t step = std::max<int64_t>(1, span / (2 * kOverviewWords));
    return {start + i * step, start + (i + 1) * step};
  }
  const int64_t first = start + span * i / kOverviewWords;
  const int64_t next = start + span * (i + 1) / kOverviewWords;
  return {first, std::max(next, first + 1)};
}

std::vector<int> BuildOverview(const WaveData& data, int64_t start, int64_t end,
                               OverviewReading reading) {
  std::vector<int> words(kOverviewWords, 0);
  const int64_t size = static_cast<int64_t>(data.size());
  for (int i = 0; i < kOverviewWords; ++i) {
    const Section section = OverviewSection(start, end, i, reading);
    int peak = 0;
    for (int64_t p = section.first; p < std::min(section.end, size); ++p) {
      peak = std::max(peak, std::abs(static_cast<int>(data[p])));
    }
    words[i] = std::min(peak, 32767);
  }
  return words;
}

}  // namespace kelvora::sim
