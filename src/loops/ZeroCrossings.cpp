#include "loops/ZeroCrossings.h"

#include <cstdlib>

namespace kelvora::loops {

bool IsRisingCrossing(const SampleWindow& window, int position) {
  return window.Holds(position - 1) && window.Holds(position) && window.At(position - 1) < 0 &&
         window.At(position) >= 0;
}

std::vector<int> RisingCrossings(const SampleWindow& window) {
  std::vector<int> crossings;
  for (int p = window.first + 1; p < window.End(); ++p) {
    if (IsRisingCrossing(window, p)) crossings.push_back(p);
  }
  return crossings;
}

std::optional<int> NearestRisingCrossing(const SampleWindow& window, int position, int radius) {
  for (int distance = 0; distance <= radius; ++distance) {
    if (IsRisingCrossing(window, position - distance)) return position - distance;
    if (IsRisingCrossing(window, position + distance)) return position + distance;
  }
  return std::nullopt;
}

std::optional<int> NextRisingCrossing(const SampleWindow& window, int position, int direction) {
  const int step = direction < 0 ? -1 : 1;
  for (int p = position + step; p > window.first && p < window.End(); p += step) {
    if (IsRisingCrossing(window, p)) return p;
  }
  return std::nullopt;
}

}  // namespace kelvora::loops
