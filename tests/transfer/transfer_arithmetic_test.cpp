// The transfers' arithmetic where it can go wrong: estimates, the parameter record, block
// filling and the names taken from files. No sampler involved.
#include <gtest/gtest.h>

#include <vector>

#include "protocol/Records.h"
#include "transfer/Progress.h"
#include "transfer/RiffFile.h"
#include "transfer/RiffUploadSource.h"
#include "transfer/TransferPaths.h"
#include "transfer/UploadBlockFiller.h"
#include "transfer/UploadChoices.h"
#include "transfer/UploadParams.h"
#include "transfer/transfer_support.h"
#include "transfer/wav_support.h"

namespace kelvora::transfer::test {
namespace {

using namespace protocol;

TEST(TimeLeftEstimate, FirstOfTenBlocksAfterTwoSeconds) {
  const TimeLeft estimate = TimeLeftEstimate(2000, 256, 2560);
  EXPECT_FLOAT_EQ(estimate.secondsLeft, 18.999f);
  EXPECT_FLOAT_EQ(estimate.percent, 10);
}

TEST(TimeLeftEstimate, PercentTruncatesAndMayPassHundred) {
  EXPECT_FLOAT_EQ(TimeLeftEstimate(10, 1, 3).percent, 33);
  // The upload's last block counts the two silent words: 102 of 100 frames.
  EXPECT_FLOAT_EQ(TimeLeftEstimate(10, 102, 100).percent, 102);
  EXPECT_FLOAT_EQ(TimeLeftEstimate(10, 102, 100).secondsLeft,
                  (10 * 100.0f / 102 - 10 + 999) / 1000);
}

TEST(TimeLeftEstimate, LongTransfersDoNotOverflow) {
  const int64_t total = 8388604;
  EXPECT_FLOAT_EQ(TimeLeftEstimate(4000000000u, total, total).percent, 100);
  EXPECT_NEAR(TimeLeftEstimate(4000000000u, total / 2, total).secondsLeft, 4000000, 1);
}

TEST(TimeLeftEstimate, NothingDoneYetGivesNoEstimate) {
  EXPECT_FLOAT_EQ(TimeLeftEstimate(500, 0, 100).secondsLeft, 0);
  EXPECT_FLOAT_EQ(TimeLeftEstimate(500, 10, 0).percent, 0);
}

// A parsed-header stand-in: the record only reads the format fields.
TRiffFile& FileOf(TRiffFile& file, int rate, int frames) {
  file.SampleRate = rate;
  file.FrameCount = frames;
  file.Channels = 1;
  file.BitsPerSample = 16;
  return file;
}

int RateCodeFor(int rate) {
  TRiffFile file;
  int record[kWsRecordWords];
  PrepareUploadParams(record, RiffUploadSource(FileOf(file, rate, 10), fcMono), UploadChoices{});
  return record[kWsRate];
}

TEST(UploadParams, RateCodes) {
  EXPECT_EQ(RateCodeFor(22050), 28 << 8);
  EXPECT_EQ(RateCodeFor(44100), 1 << 8);
  EXPECT_EQ(RateCodeFor(48000), 0);
  EXPECT_EQ(RateCodeFor(96000), 6 << 8);
  EXPECT_EQ(RateCodeFor(31250), 20 << 8);
}

TEST(UploadParams, PositionsRootKeyAndChannel) {
  TRiffFile file;
  UploadChoices choices;
  choices.rootKey = 72;
  choices.channelMode = fcLeft;
  int record[kWsRecordWords];
  PrepareUploadParams(record, RiffUploadSource(FileOf(file, 44100, 1000), fcMono), choices);
  EXPECT_EQ(GetPosition(record, kWsSampleStart), 0);
  EXPECT_EQ(GetPosition(record, kWsSampleEnd), 1000);
  EXPECT_EQ(GetPosition(record, kWsLoopStart), 0);
  EXPECT_EQ(GetPosition(record, kWsLoopEnd), 1000);
  EXPECT_EQ(record[kWsRootKey], 72 << 8);
  EXPECT_EQ(record[kWsChannelPosition] & 0xFF, 0x81);
  EXPECT_EQ(record[kWsChannelPosition] >> 8, kDefaultWsParams[kWsChannelPosition] >> 8);

  choices.channelMode = fcRight;
  PrepareUploadParams(record, RiffUploadSource(file, fcMono), choices);
  EXPECT_EQ(record[kWsChannelPosition] & 0xFF, 0x7F);
  choices.channelMode = fcMono;
  PrepareUploadParams(record, RiffUploadSource(file, fcMono), choices);
  EXPECT_EQ(record[kWsChannelPosition], kDefaultWsParams[kWsChannelPosition]);
  EXPECT_EQ(record[kWsPlaybackMode], kDefaultWsParams[kWsPlaybackMode]);
}

TEST(UploadParams, MorlavineFileLoopsForward) {
  TRiffFile file;
  FileOf(file, 44100, 5000);
  file.IsMorlavine = true;
  file.MorlavineLoopEnd = 4000;
  file.MorlavineParam = 9;
  int record[kWsRecordWords];
  PrepareUploadParams(record, RiffUploadSource(file, fcMono), UploadChoices{});
  EXPECT_EQ(record[kWsPlaybackMode], 512);
  EXPECT_EQ(GetPosition(record, kWsLoopEnd), 4000);
  EXPECT_EQ(GetPosition(record, kWsSampleEnd), 5000);
  EXPECT_EQ(record[kWsWord82], 0);
  EXPECT_EQ(record[kWsWord137], 7 << 8);
  EXPECT_EQ(record[kWsWord134], 9 << 8);
  EXPECT_EQ(record[kWsWord135], 127 << 8);
}

class BlockFilling : public ::testing::Test {
 protected:
  // Opens a PCM file of these frames and reads it in blocks of blockSize.
  std::vector<std::vector<int>> Blocks(int channels, int bits, const std::vector<uint8_t>& frames,
                                       int blockSize, int channelMode = fcMono) {
    WritePcm(temp_ / "in.wav", channels, bits, 44100, frames);
    file_.SetFileName(temp_ / "in.wav");
    EXPECT_TRUE(file_.ReadHeader());
    RiffUploadSource source(file_, channelMode);
    UploadBlockFiller filler(source);
    std::vector<std::vector<int>> blocks;
    std::vector<int> buffer(static_cast<size_t>(blockSize));
    for (int n; (n = filler.Fill(buffer.data(), blockSize)) > 0;) {
      blocks.emplace_back(buffer.begin(), buffer.begin() + n);
    }
    EXPECT_EQ(filler.Read(), filler.Total());
    return blocks;
  }

  std::vector<uint8_t> Mono16(int frames) {
    std::vector<uint8_t> bytes;
    for (int i = 0; i < frames; ++i) {
      bytes.push_back(static_cast<uint8_t>((i + 1) & 0xFF));
      bytes.push_back(static_cast<uint8_t>((i + 1) >> 8));
    }
    return bytes;
  }

  TempFolder temp_;
  TRiffFile file_;
};

TEST_F(BlockFilling, ThousandFramesEndWithTwoSilentWords) {
  const auto blocks = Blocks(1, 16, Mono16(1000), 256);
  ASSERT_EQ(blocks.size(), 4u);
  EXPECT_EQ(blocks[0].size(), 256u);
  EXPECT_EQ(blocks[3].size(), 234u);
  EXPECT_EQ(blocks[3][231], 1000);  // the last frame, then the silence
  EXPECT_EQ(blocks[3][232], 0);
  EXPECT_EQ(blocks[3][233], 0);
}

TEST_F(BlockFilling, ExactBlockNeedsASecondBlockOfSilence) {
  const auto blocks = Blocks(1, 16, Mono16(256), 256);
  ASSERT_EQ(blocks.size(), 2u);
  EXPECT_EQ(blocks[1], (std::vector<int>{0, 0}));
}

TEST_F(BlockFilling, OneFrameFileIsOneBlockOfThree) {
  const auto blocks = Blocks(1, 16, Mono16(1), 10240);
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_EQ(blocks[0], (std::vector<int>{1, 0, 0}));
}

TEST_F(BlockFilling, StereoMixes) {
  EXPECT_EQ(Blocks(2, 8, {255, 0}, 256)[0][0], -128);
  EXPECT_EQ(Blocks(2, 8, {255, 0}, 256, fcLeft)[0][0], 32512);
  EXPECT_EQ(Blocks(2, 8, {255, 0}, 256, fcRight)[0][0], -32768);
  const std::vector<uint8_t> minusThrees = {0xFD, 0xFF, 0xFD, 0xFF};
  EXPECT_EQ(Blocks(2, 16, minusThrees, 256)[0][0], -2);
  EXPECT_EQ(Blocks(2, 16, minusThrees, 256, fcRight)[0][0], -3);
}

TEST_F(BlockFilling, MonoSixteenBitKeepsTheUnsignedWord) {
  EXPECT_EQ(Blocks(1, 16, {0xFD, 0xFF}, 256)[0][0], 0xFFFD);
  EXPECT_EQ(Blocks(1, 8, {0}, 256)[0][0], -32768);
}

TEST_F(BlockFilling, FileThatCannotBeReadFails) {
  WritePcm(temp_ / "in.wav", 1, 16, 44100, Mono16(600));
  file_.SetFileName(temp_ / "in.wav");
  ASSERT_TRUE(file_.ReadHeader());
  RiffUploadSource source(file_, fcMono);
  UploadBlockFiller filler(source);
  std::vector<int> buffer(256);
  EXPECT_EQ(filler.Fill(buffer.data(), 256), 256);
  file_.Close();  // as if the disk had gone away
  EXPECT_EQ(filler.Fill(buffer.data(), 256), -1);
}

TEST(TransferPaths, InstrumentNameStopsAtTheFirstDot) {
  EXPECT_EQ(NameBeforeFirstDot("/home/u/kick.01.wav"), "kick");
  EXPECT_EQ(NameBeforeFirstDot("C:\\Samples\\snare.wav"), "snare");
  EXPECT_EQ(NameBeforeFirstDot("/a.b/noext"), "noext");
  EXPECT_EQ(NameBeforeFirstDot("/a/.hidden"), "");
}

TEST(TransferPaths, FolderKeepsTheSeparatorOnlyAtARoot) {
  EXPECT_EQ(FolderOf("/home/u/kick.wav"), "/home/u");
  EXPECT_EQ(FolderOf("/kick.wav"), "/");
  EXPECT_EQ(FolderOf("C:\\kick.wav"), "C:\\");
  EXPECT_EQ(FolderOf("C:\\Samples\\kick.wav"), "C:\\Samples");
  EXPECT_EQ(FolderOf("kick.wav"), "");
}

TEST(UploadChoices, OutOfRangeChoicesAreNamed) {
  UploadChoices choices;
  EXPECT_EQ(ChoicesRefusal(choices), "");
  choices.instrument = 8;
  EXPECT_EQ(ChoicesRefusal(choices), "instrument 9 is outside 1..8");
  choices = {};
  choices.waveSample = 0;
  EXPECT_EQ(ChoicesRefusal(choices), "wavesample 0 is outside 1..127");
  choices = {};
  choices.channelMode = 0;
  EXPECT_NE(ChoicesRefusal(choices), "");
  choices = {};
  choices.range = KeyRangeMode::Custom;
  choices.loKey = 70;
  choices.hiKey = 60;
  EXPECT_EQ(ChoicesRefusal(choices), "the low key is above the high key");
  choices.range = KeyRangeMode::Full;  // the keys are not sent then
  EXPECT_EQ(ChoicesRefusal(choices), "");
}

}  // namespace
}  // namespace kelvora::transfer::test
