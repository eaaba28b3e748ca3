#pragma once

#include <optional>

#include "loops/SampleWindow.h"

namespace kelvora::loops {

// Samples each side of the seam that a measure needs: three before the loop end, three from the
// loop start.
constexpr int kSeamReach = 3;

// How far the jump from the last sample before the loop end to the loop start departs from a
// smooth continuation, in sample units (16-bit values). The loop end is where playback jumps
// back: the sample at loopEnd - 1 is the last one played before the loop start's.
struct SeamMeasure {
  // The step across the seam against the mean of the steps either side of it.
  double valueJump = 0;
  // The step after the seam against the step before it.
  double slopeJump = 0;
  // The bend after the seam against the bend before it.
  double curvatureJump = 0;
};

// From the samples loopEnd - 3 .. loopEnd - 1 in `beforeEnd` and loopStart .. loopStart + 2 in
// `fromStart` (one window may serve both); none when either window lacks them.
std::optional<SeamMeasure> MeasureSeam(const SampleWindow& beforeEnd, const SampleWindow& fromStart,
                                       int loopStart, int loopEnd);

enum class SeamGrade {
  Smooth,   // green: no click to hear
  Audible,  // yellow: a soft tick on quiet or pure material
  Click,    // red: a click
};

// The grade of a seam by the larger of its value and slope jumps as a share of the wavesample's
// peak (the largest absolute sample value): up to 2.5 % smooth, up to 10 % audible.
SeamGrade GradeSeam(const SeamMeasure& measure, int peak);

// The larger of the value and slope jumps as a share of the peak (a peak below 1 counts as 1).
double SeamShare(const SeamMeasure& measure, int peak);

}  // namespace kelvora::loops
