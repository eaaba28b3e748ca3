#pragma once

#include "loops/SampleWindow.h"

namespace kelvora::editor {

// The two points of a loop's seam.
enum class SeamSide { LoopStart, LoopEnd };

// What the seam view shows: the samples read around the loop end and around the loop start, and
// the two points. The loop end is where playback jumps back, so the samples shown before the seam
// end at loopEnd - 1 and those after it begin at loopStart.
struct SeamScene {
  loops::SampleWindow endSide;
  loops::SampleWindow startSide;
  int loopStart = 0;
  int loopEnd = 0;

  const loops::SampleWindow& Window(SeamSide side) const {
    return side == SeamSide::LoopStart ? startSide : endSide;
  }
  int Point(SeamSide side) const { return side == SeamSide::LoopStart ? loopStart : loopEnd; }
  void SetPoint(SeamSide side, int position) {
    (side == SeamSide::LoopStart ? loopStart : loopEnd) = position;
  }
};

}  // namespace kelvora::editor
