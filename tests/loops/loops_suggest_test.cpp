// The loop search: what it reads for a region, how it chooses between crossings, and a smooth
// proposal for the simulated sampler's demo pad.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <numbers>

#include "loops/LoopSuggestion.h"
#include "loops/ZeroCrossings.h"
#include "protocol/Records.h"
#include "sim/DemoContent.h"
#include "sim/SamplerMemory.h"

namespace kelvora::loops {
namespace {

SampleWindow Slice(const std::vector<int16_t>& data, const SampleRange& range) {
  SampleWindow window{range.start, {}};
  for (int p = range.start; p < range.end; ++p) window.samples.push_back(data[p]);
  return window;
}

TEST(SuggestPlanTest, ARegionOfUpToTwoWindowsIsReadWholeALongerOneAtBothEnds) {
  const auto small = PlanSuggestion(1000, 1000 + 2 * kSuggestWindow);
  ASSERT_EQ(small.size(), 1u);
  EXPECT_EQ(small[0].start, 1000);
  EXPECT_EQ(PlannedSamples(small), 2 * kSuggestWindow);
  const auto large = PlanSuggestion(22050, 44100);
  ASSERT_EQ(large.size(), 2u);
  EXPECT_EQ(large[0].start, 22050);
  EXPECT_EQ(large[0].end, 22050 + kSuggestWindow);
  EXPECT_EQ(large[1].start, 44100 - kSuggestWindow);
  EXPECT_EQ(large[1].end, 44100);
  EXPECT_EQ(PlannedSamples(large), 2 * kSuggestWindow);
  EXPECT_TRUE(PlanSuggestion(500, 500).empty());
}

TEST(SuggestLoopTest, EqualSeamsGoToTheLongestLoop) {
  SampleWindow sine{0, {}};
  for (int i = 0; i < 1000; ++i)
    sine.samples.push_back(
        static_cast<int>(std::lround(20000 * std::sin(2 * std::numbers::pi * i / 100))));
  const auto loop = SuggestLoop(sine, sine, 64);
  ASSERT_TRUE(loop);
  EXPECT_EQ(loop->loopStart, 100);
  EXPECT_EQ(loop->loopEnd, 900);
  EXPECT_EQ(GradeSeam(loop->measure, 20000), SeamGrade::Smooth);
}

TEST(SuggestLoopTest, TheBestSeamBeatsALongerWorseOne) {
  // Crossings at 2, 6 and 10; the seam 2 -> 10 jumps from -100 to 1, the seam 2 -> 6 from -1.
  SampleWindow w{0, {-5, -1, 1, 3, 2, -1, 1, 3, 2, -100, 1, 3, 2}};
  EXPECT_EQ(RisingCrossings(w), (std::vector<int>{2, 6, 10}));
  const auto loop = SuggestLoop(w, w, 1);
  ASSERT_TRUE(loop);
  EXPECT_EQ(loop->loopStart, 2);
  EXPECT_EQ(loop->loopEnd, 6);
  const auto longer = SuggestLoop(w, w, 8);  // 2 -> 10 is the only pair that long
  ASSERT_TRUE(longer);
  EXPECT_EQ(longer->loopEnd, 10);
  EXPECT_FALSE(SuggestLoop(w, w, 9));
}

TEST(SuggestLoopTest, NothingWithoutTwoCrossingsFarEnoughApart) {
  SampleWindow rising{0, {-3, -2, -1, 0, 1, 2, 3, 4}};
  EXPECT_FALSE(SuggestLoop(rising, rising, 1));
  SampleWindow silent{0, std::vector<int>(100, 0)};
  EXPECT_FALSE(SuggestLoop(silent, silent, 1));
}

TEST(SuggestLoopTest, TheDemoPadGetsASmoothLoopInItsLastHalfFromTwoWindows) {
  sim::SamplerMemory memory(sim::SamplerModel::Eps16Plus, 1024 * 1024);
  sim::LoadDemoContent(memory);
  const std::vector<int16_t>& pad = *memory.Data(2, 1);
  const int end =
      protocol::GetPosition(memory.WaveSample(2, 1)->record.data(), protocol::kWsSampleEnd);
  const auto reads = PlanSuggestion(end / 2, end);
  ASSERT_EQ(reads.size(), 2u);
  const auto loop = SuggestLoop(Slice(pad, reads[0]), Slice(pad, reads[1]), 64);
  ASSERT_TRUE(loop);
  EXPECT_GE(loop->loopStart, reads[0].start);
  EXPECT_LT(loop->loopEnd, end);
  int peak = 0;
  for (int16_t v : pad) peak = std::max(peak, std::abs(int(v)));
  EXPECT_EQ(GradeSeam(loop->measure, peak), SeamGrade::Smooth) << SeamShare(loop->measure, peak);
  // The proposal measures the same from the whole data as from the windows it came from.
  const SampleWindow whole = Slice(pad, {0, end});
  const auto again = MeasureSeam(whole, whole, loop->loopStart, loop->loopEnd);
  ASSERT_TRUE(again);
  EXPECT_DOUBLE_EQ(again->valueJump, loop->measure.valueJump);
}

}  // namespace
}  // namespace kelvora::loops
