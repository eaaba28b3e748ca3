#include "loops/SeamQuality.h"

#include <algorithm>
#include <cmath>

namespace kelvora::loops {

namespace {

constexpr double kSmoothShare = 0.025;
constexpr double kAudibleShare = 0.10;

}  // namespace

std::optional<SeamMeasure> MeasureSeam(const SampleWindow& beforeEnd, const SampleWindow& fromStart,
                                       int loopStart, int loopEnd) {
  if (!beforeEnd.HoldsRange(loopEnd - kSeamReach, loopEnd) ||
      !fromStart.HoldsRange(loopStart, loopStart + kSeamReach))
    return std::nullopt;
  const double b1 = beforeEnd.At(loopEnd - 1);
  const double b2 = beforeEnd.At(loopEnd - 2);
  const double b3 = beforeEnd.At(loopEnd - 3);
  const double a0 = fromStart.At(loopStart);
  const double a1 = fromStart.At(loopStart + 1);
  const double a2 = fromStart.At(loopStart + 2);
  const double stepBefore = b1 - b2;
  const double stepAfter = a1 - a0;
  SeamMeasure measure;
  measure.valueJump = std::fabs((a0 - b1) - (stepBefore + stepAfter) / 2);
  measure.slopeJump = std::fabs(stepAfter - stepBefore);
  measure.curvatureJump = std::fabs((a2 - 2 * a1 + a0) - (b1 - 2 * b2 + b3));
  return measure;
}

double SeamShare(const SeamMeasure& measure, int peak) {
  return std::max(measure.valueJump, measure.slopeJump) / std::max(peak, 1);
}

SeamGrade GradeSeam(const SeamMeasure& measure, int peak) {
  const double share = SeamShare(measure, peak);
  if (share <= kSmoothShare) return SeamGrade::Smooth;
  if (share <= kAudibleShare) return SeamGrade::Audible;
  return SeamGrade::Click;
}

}  // namespace kelvora::loops
