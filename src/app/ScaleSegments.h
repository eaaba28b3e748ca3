#pragma once

#include <vector>

namespace kelvora::app {

// One node of a volume envelope: a sample position and a level as the scale command carries it
// (the gain's two 7-bit halves in the low and the second byte).
struct ScaleNode {
  int position = 0;
  int level = 0;
};

// One scale command: the range [start, end) ramps from startLevel to endLevel.
struct ScaleSegment {
  int start = 0;
  int end = 0;
  int startLevel = 0;
  int endLevel = 0;

  bool operator==(const ScaleSegment&) const = default;
};

// The commands for an envelope whose nodes run left to right from the first to the last
// selected sample: half-open ranges that join without gap or overlap, the first starting at the
// first node and the last ending one past the last node. Two nodes on the same sample position
// enclose nothing to scale, so no command is made for them (the sampler refuses an empty range).
std::vector<ScaleSegment> ScaleSegments(const std::vector<ScaleNode>& nodes);

}  // namespace kelvora::app
