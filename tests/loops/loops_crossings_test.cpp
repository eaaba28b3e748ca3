// Rising zero crossings and the grading of a loop's seam, on small hand-made windows and on
// sines cut well and badly.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "loops/SeamQuality.h"
#include "loops/ZeroCrossings.h"

namespace kelvora::loops {
namespace {

SampleWindow Window(int first, std::vector<int> samples) { return {first, std::move(samples)}; }

// `count` samples of a sine of `period` samples and amplitude 20000 from position 0.
SampleWindow Sine(int period, int count) {
  SampleWindow window{0, {}};
  for (int i = 0; i < count; ++i)
    window.samples.push_back(
        static_cast<int>(std::lround(20000 * std::sin(2 * std::numbers::pi * i / period))));
  return window;
}

TEST(ZeroCrossingsTest, ARisingCrossingIsTheFirstSampleThatIsNotNegative) {
  const SampleWindow w = Window(100, {-3, -1, 0, 2, -1, 1, 1, -2});
  EXPECT_EQ(RisingCrossings(w), (std::vector<int>{102, 105}));
  EXPECT_FALSE(IsRisingCrossing(w, 100));  // the sample before it is not in the window
  EXPECT_FALSE(IsRisingCrossing(w, 103));  // positive after positive
  EXPECT_FALSE(IsRisingCrossing(w, 107));  // falling
}

TEST(ZeroCrossingsTest, TheNearestCrossingWithinReachWinsAndTheEarlierOneOnATie) {
  const SampleWindow w = Window(100, {-3, -1, 0, 2, -1, 1, 1, -2});
  EXPECT_EQ(NearestRisingCrossing(w, 104, 1), 105);
  EXPECT_EQ(NearestRisingCrossing(w, 102, 0), 102);
  EXPECT_EQ(NearestRisingCrossing(w, 107, 1), std::nullopt);
  EXPECT_EQ(NearestRisingCrossing(w, 107, 2), 105);
  const SampleWindow even = Window(0, {-1, 0, -1, 0, -1});
  EXPECT_EQ(NearestRisingCrossing(even, 2, 5), 1);
  EXPECT_EQ(NearestRisingCrossing(w, 5000, 3), std::nullopt);
}

TEST(ZeroCrossingsTest, TheNextCrossingInEitherDirectionStaysInTheWindow) {
  const SampleWindow w = Window(100, {-3, -1, 0, 2, -1, 1, 1, -2});
  EXPECT_EQ(NextRisingCrossing(w, 102, 1), 105);
  EXPECT_EQ(NextRisingCrossing(w, 105, -1), 102);
  EXPECT_EQ(NextRisingCrossing(w, 102, -1), std::nullopt);
  EXPECT_EQ(NextRisingCrossing(w, 105, 1), std::nullopt);
}

TEST(SeamQualityTest, WholeCyclesJoinSmoothly) {
  const SampleWindow sine = Sine(100, 1000);
  const auto measure = MeasureSeam(sine, sine, 100, 900);
  ASSERT_TRUE(measure);
  EXPECT_LT(measure->valueJump, 20);
  EXPECT_LT(measure->slopeJump, 20);
  EXPECT_EQ(GradeSeam(*measure, 20000), SeamGrade::Smooth);
}

TEST(SeamQualityTest, OneSampleOffAtThisPitchIsAudibleAndHalfACycleOffClicks) {
  const SampleWindow sine = Sine(100, 1000);
  const auto nearly = MeasureSeam(sine, sine, 101, 900);
  ASSERT_TRUE(nearly);
  EXPECT_EQ(GradeSeam(*nearly, 20000), SeamGrade::Audible);
  const auto cut = MeasureSeam(sine, sine, 100, 925);  // the end is at the top of a cycle
  ASSERT_TRUE(cut);
  EXPECT_GT(cut->valueJump, 15000);
  EXPECT_EQ(GradeSeam(*cut, 20000), SeamGrade::Click);
}

TEST(SeamQualityTest, TheGradeIsRelativeToThePeak) {
  const SeamMeasure measure{100, 0, 0};
  EXPECT_EQ(GradeSeam(measure, 20000), SeamGrade::Smooth);
  EXPECT_EQ(GradeSeam(measure, 2000), SeamGrade::Audible);
  EXPECT_EQ(GradeSeam(measure, 500), SeamGrade::Click);
  EXPECT_EQ(GradeSeam(measure, 0), SeamGrade::Click);  // silence: any jump is a click
}

TEST(SeamQualityTest, NoMeasureWithoutTheSamplesBesideTheSeam) {
  const SampleWindow sine = Sine(100, 1000);
  EXPECT_FALSE(MeasureSeam(sine, sine, 100, 2));    // three samples before the end needed
  EXPECT_FALSE(MeasureSeam(sine, sine, 998, 900));  // and three from the start
  EXPECT_FALSE(MeasureSeam(Window(500, {}), sine, 100, 900));
}

}  // namespace
}  // namespace kelvora::loops
