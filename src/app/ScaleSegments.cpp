#include "app/ScaleSegments.h"

#include <cstddef>

namespace kelvora::app {

std::vector<ScaleSegment> ScaleSegments(const std::vector<ScaleNode>& nodes) {
  std::vector<ScaleSegment> segments;
  if (nodes.empty()) return segments;
  int previousEnd = nodes.front().position - 1;
  int previousLevel = nodes.front().level;
  for (std::size_t i = 1; i < nodes.size(); ++i) {
    const ScaleNode& node = nodes[i];
    const ScaleSegment segment{previousEnd + 1, node.position + 1, previousLevel, node.level};
    if (segment.start < segment.end) segments.push_back(segment);
    previousEnd = node.position;
    previousLevel = node.level;
  }
  return segments;
}

}  // namespace kelvora::app
