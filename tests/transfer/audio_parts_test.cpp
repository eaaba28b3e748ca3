// The parts of the converted path on their own: dither, channel choice, format names and the
// RIFF chunks libsndfile does not read.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <map>
#include <set>

#include "transfer/AudioFormat.h"
#include "transfer/ChannelPick.h"
#include "transfer/RiffScan.h"
#include "transfer/TpdfQuantizer.h"
#include "transfer/wav_support.h"

namespace kelvora::transfer::test {
namespace {

TEST(TpdfQuantizer, DitherIsBoundedUnbiasedAndNotATruncation) {
  TpdfQuantizer quantizer(16);
  std::map<int, std::set<int>> outcomes;
  double errorSum = 0;
  int count = 0;
  for (int repeat = 0; repeat < 64; ++repeat) {
    for (int step = -40; step <= 40; ++step) {
      const double value = step / 8.0 + 1 / 64.0;  // never on the grid
      const int word = quantizer.Quantize(value);
      EXPECT_LE(std::fabs(word - value), 1.5) << value;
      outcomes[step].insert(word);
      errorSum += word - value;
      ++count;
    }
  }
  for (const auto& [step, words] : outcomes) EXPECT_GE(words.size(), 2u) << step;
  EXPECT_NEAR(errorSum / count, 0, 0.05);
}

TEST(TpdfQuantizer, ValuesOnTheGridAndBeyondFullScale) {
  TpdfQuantizer sixteen(16);
  for (int value : {-32768, -1, 0, 1, 12345, 32767}) EXPECT_EQ(sixteen.Quantize(value), value);
  EXPECT_EQ(sixteen.Quantize(40000.5), 32767);
  EXPECT_EQ(sixteen.Quantize(-40000.5), -32768);
  EXPECT_EQ(sixteen.Quantize(INFINITY), 32767);
  EXPECT_EQ(sixteen.Quantize(NAN), 0);

  TpdfQuantizer thirteen(13);
  EXPECT_EQ(thirteen.Bits(), 13);
  EXPECT_EQ(thirteen.Quantize(32767.9), 32760);
  for (int i = 0; i < 1000; ++i) {
    const double value = i * 13.7 - 6000;
    const int word = thirteen.Quantize(value);
    EXPECT_EQ(word % 8, 0);
    EXPECT_LE(std::fabs(word - value), 12) << value;
  }
}

TEST(TpdfQuantizer, TheSameNoiseAfterAReset) {
  TpdfQuantizer quantizer(16);
  std::vector<int> first;
  for (int i = 0; i < 100; ++i) first.push_back(quantizer.Quantize(i * 0.37));
  quantizer.Reset();
  for (int i = 0; i < 100; ++i) EXPECT_EQ(quantizer.Quantize(i * 0.37), first[i]);
}

TEST(ChannelPick, LeftRightMixAndNumberedChannel) {
  const float frames[] = {0.5f, -0.5f, 1.0f, 0.25f, 1.0f, 1.0f, 1.0f, 1.0f};
  float out[2];
  PickChannel(frames, 2, 4, {fcLeft, 0}, out);
  EXPECT_EQ(out[0], 0.5f);
  EXPECT_EQ(out[1], 1.0f);
  PickChannel(frames, 2, 4, {fcRight, 0}, out);
  EXPECT_EQ(out[0], -0.5f);
  PickChannel(frames, 2, 4, {fcChannel, 3}, out);
  EXPECT_EQ(out[0], 0.25f);
  // The mix of full-scale channels stays at full scale.
  PickChannel(frames, 2, 4, {fcMono, 0}, out);
  EXPECT_FLOAT_EQ(out[0], 0.3125f);
  EXPECT_FLOAT_EQ(out[1], 1.0f);
  // A mono file gives its one channel whatever was picked.
  PickChannel(frames, 1, 1, {fcRight, 0}, out);
  EXPECT_EQ(out[0], 0.5f);

  EXPECT_EQ(PickRefusal({fcChannel, 3}, 4), "");
  EXPECT_EQ(PickRefusal({fcChannel, 4}, 4), "channel 5 was chosen, but the file has 4 channels");
  EXPECT_EQ(PickRefusal({fcChannel, 1}, 1), "channel 2 was chosen, but the file has 1 channel");
  EXPECT_EQ(PickRefusal({fcRight, 0}, 1), "");
}

TEST(AudioFormat, NamesAndLines) {
  EXPECT_EQ(FormatName(SF_FORMAT_FLAC | SF_FORMAT_PCM_24), "24-bit FLAC");
  EXPECT_EQ(FormatName(SF_FORMAT_WAVEX | SF_FORMAT_FLOAT), "32-bit float WAV");
  EXPECT_EQ(FormatName(SF_FORMAT_OGG | SF_FORMAT_VORBIS), "Ogg Vorbis");
  EXPECT_EQ(FormatName(SF_FORMAT_OGG | SF_FORMAT_OPUS), "Opus");
  EXPECT_EQ(FormatName(SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III), "MP3");
  EXPECT_EQ(FormatName(SF_FORMAT_AIFF | SF_FORMAT_PCM_U8), "8-bit AIFF");
  EXPECT_EQ(FormatName(SF_FORMAT_CAF | SF_FORMAT_ALAC_16), "16-bit ALAC CAF");
  EXPECT_EQ(FormatName(SF_FORMAT_AU | SF_FORMAT_PCM_16), "16-bit AU");
  EXPECT_EQ(FormatLine(SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 96000, 2, 307200),
            "24-bit FLAC, 96000 Hz, stereo, 3.2 s");
  EXPECT_EQ(FormatLine(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 6, 44100),
            "16-bit WAV, 44100 Hz, 6 channels, 1.0 s");
}

TEST(AudioFormat, ReadablePatternsCoverTheCommonFormats) {
  const std::string patterns = ReadablePatterns();
  for (const char* pattern : {"*.wav", "*.aiff", "*.aif", "*.flac", "*.ogg", "*.opus", "*.mp3",
                              "*.caf", "*.w64", "*.rf64"})
    EXPECT_NE(patterns.find(pattern), std::string::npos) << pattern;
  EXPECT_EQ(patterns.find("*.raw"), std::string::npos);
  EXPECT_TRUE(HasReadableExtension("/a/Kick.FLAC"));
  EXPECT_TRUE(HasReadableExtension("kick.01.wav"));
  EXPECT_FALSE(HasReadableExtension("notes.txt"));
  EXPECT_FALSE(HasReadableExtension("wav"));
}

RiffFacts Scan(const Bytes& bytes) {
  return ScanRiff(
      [&bytes](uint64_t offset, void* buffer, size_t count) {
        if (offset > bytes.size() || count > bytes.size() - offset) return false;
        std::copy_n(bytes.data() + offset, count, static_cast<uint8_t*>(buffer));
        return true;
      },
      bytes.size());
}

TEST(RiffScan, MorlavineChunkCountsOnlyAfterTheFormat) {
  const Bytes fmt = ChunkOf("fmt ", FmtBody(0xFFFE, 1, 44100, 24, 3, 22));
  const Bytes mrlv = ChunkOf("mrlv", Le16(4000) + Le16(1) + Le16(2) + Le16(9));
  const Bytes data = ChunkOf("data", Bytes(30));
  RiffFacts facts = Scan(RiffOf(fmt + ChunkOf("odd ", Bytes(3)) + mrlv + data));
  EXPECT_TRUE(facts.riff);
  EXPECT_EQ(facts.morlavineLoopEnd, 4000);
  EXPECT_EQ(facts.morlavineParam, 9);
  EXPECT_FALSE(facts.cutShort);
  EXPECT_FALSE(Scan(RiffOf(mrlv + fmt + data)).morlavineLoopEnd);
  EXPECT_FALSE(Scan(RiffOf(fmt + ChunkOf("mrlv", Bytes(6)) + data)).morlavineLoopEnd);
}

TEST(RiffScan, DataLongerThanTheFileIsCutShortUnlessStreamed) {
  const Bytes fmt = ChunkOf("fmt ", FmtBody(1, 1, 44100, 24, 3));
  Bytes data = Text("data") + Le32(3000) + Bytes(300);
  EXPECT_TRUE(Scan(RiffOf(fmt + data)).cutShort);
  data = Text("data") + Le32(0xFFFFFFFF) + Bytes(300);
  EXPECT_FALSE(Scan(RiffOf(fmt + data)).cutShort);
  EXPECT_FALSE(Scan(Text("FORM") + Le32(4) + Text("AIFF")).riff);
  EXPECT_FALSE(Scan(Bytes(5)).riff);
}

}  // namespace
}  // namespace kelvora::transfer::test
