// The rates the sampler plays exactly, the target an upload aims at, and what an upload costs.
#include <gtest/gtest.h>

#include <cmath>

#include "transfer/SamplerRates.h"
#include "transfer/UploadFigures.h"

namespace kelvora::transfer::test {
namespace {

TEST(SamplerRates, DefaultTargetIsTheSlowestPlayableRateAtOrAboveTheFile) {
  const struct {
    int fileRate;
    int code;
  } rows[] = {
      {44100, 1}, {48000, 0},  {31250, 20}, {22050, 28}, {32000, 19}, {11025, 56}, {8000, 78},
      {96000, 0}, {88200, 1},  {192000, 0}, {176400, 1}, {62500, 0},  {43000, 1},  {44200, 14},
      {45000, 0}, {2000, 255}, {1, 255},    {25000, 25}, {2500, 250}, {41667, 1},  {41666, 15},
  };
  for (const auto& row : rows)
    EXPECT_EQ(DefaultTargetCode(row.fileRate), row.code) << row.fileRate << " Hz";
}

TEST(SamplerRates, PlayedRatesAndExactness) {
  EXPECT_DOUBLE_EQ(PlayedRate(0), 48000);
  EXPECT_DOUBLE_EQ(PlayedRate(1), 44100);
  EXPECT_NEAR(PlayedRate(28), 22321.43, 0.01);
  EXPECT_DOUBLE_EQ(PlayedRate(256), 0);
  EXPECT_EQ(ExactCode(31250), 20);
  EXPECT_EQ(ExactCode(22050), -1);
  // 62500 Hz is 625000 / 10, but faster than any target.
  EXPECT_EQ(ExactCode(62500), -1);
  EXPECT_FALSE(IsTargetCode(13));
  EXPECT_TRUE(IsTargetCode(14));
}

TEST(SamplerRates, ChoicesStartAtTheDefaultAndOnlyGoDown) {
  const std::vector<int> codes = TargetCodes(96000);
  ASSERT_GE(codes.size(), 240u);
  EXPECT_EQ(codes[0], 0);
  EXPECT_EQ(codes[1], 14);
  EXPECT_EQ(codes[2], 1);
  for (size_t i = 1; i < codes.size(); ++i)
    EXPECT_LT(PlayedRate(codes[i]), PlayedRate(codes[i - 1]));
  EXPECT_EQ(TargetCodes(22050).front(), 28);
  EXPECT_EQ(TargetCodes(22050)[1], 29);
  EXPECT_EQ(TargetCodes(1), std::vector<int>{255});
}

TEST(SamplerRates, TheSpecifiedRoundingPlaysOffPitch) {
  const struct {
    int fileRate;
    int code;
    double cents;
  } rows[] = {{22050, 28, 21.18},
              {32000, 19, 47.74},
              {11025, 56, 21.18},
              {44100, 1, 0},
              {96000, 6, 141.34}};
  for (const auto& row : rows) {
    EXPECT_EQ(UnchangedCode(row.fileRate), row.code);
    EXPECT_NEAR(CentsOff(PlayedRate(row.code), row.fileRate), row.cents, 0.1) << row.fileRate;
  }
}

TEST(UploadFigures, MemoryBlocksAndWireTime) {
  UploadChoices choices;
  choices.waveSample = 2;
  // 254 frames and the two silent words fill one memory block and one transfer block.
  UploadFigures one = FiguresFor(254, 256, choices);
  EXPECT_EQ(one.memoryBlocks, 1);
  EXPECT_EQ(one.wireBytes, (20 + 8 + 5 + 3 * 256 + 8) + (12 + 8 + 5 + 3 * 139 + 8));
  EXPECT_EQ(FiguresFor(255, 256, choices).memoryBlocks, 2);
  // A second of 44.1 kHz sound takes about 42 s of wire, whatever the block size.
  const UploadFigures second = FiguresFor(44100, 10240, choices);
  EXPECT_NEAR(second.wireSeconds, 44102 * 3 / 3125.0, 0.5);
  EXPECT_GT(FiguresFor(44100, 256, choices).wireSeconds, second.wireSeconds);
  // Renaming the instrument, the key range and the pause before each block add their share.
  choices.waveSample = 1;
  EXPECT_EQ(FiguresFor(254, 256, choices).wireBytes - one.wireBytes, 2024);
  choices.waveSample = 2;
  choices.range = KeyRangeMode::Root;
  EXPECT_NEAR(FiguresFor(254, 256, choices).wireSeconds - one.wireSeconds, 2 + 36 / 3125.0, 1e-9);
  choices.range = KeyRangeMode::Full;
  EXPECT_NEAR(FiguresFor(254, 256, choices, 500).wireSeconds - one.wireSeconds, 0.5, 1e-9);
}

TEST(UploadFigures, TextsForAPerson) {
  EXPECT_EQ(DurationText(0.4), "under 1 s");
  EXPECT_EQ(DurationText(12.4), "12 s");
  EXPECT_EQ(DurationText(252), "4 min 12 s");
  EXPECT_EQ(DurationText(3780), "1 h 3 min");
  UploadFigures figures{123, 0, 252};
  EXPECT_EQ(FiguresText(figures), "123 blocks of memory, 4 min 12 s on the wire");

  SourcePlan plan;
  plan.fileRate = 96000;
  plan.rateCode = 0;
  plan.resampled = true;
  EXPECT_EQ(PitchText(plan), "96000 Hz \u2192 48000 Hz, plays at pitch");
  plan.fileRate = 32000;
  plan.rateCode = 19;
  plan.resampled = false;
  EXPECT_EQ(PitchText(plan), "32000 Hz sent as 32895 Hz, plays 48 cents sharp");
  plan.fileRate = 44100;
  plan.rateCode = 1;
  EXPECT_EQ(PitchText(plan), "44100 Hz, plays at pitch");
}

}  // namespace
}  // namespace kelvora::transfer::test
