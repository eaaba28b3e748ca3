// Which path a file takes into the sampler, and what each path makes of it: words, rate, loop,
// root key, and the refusals that come before anything is sent.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <set>

#include "transfer/SamplerRates.h"
#include "transfer/UploadSources.h"
#include "transfer/sound_support.h"
#include "transfer/transfer_support.h"
#include "transfer/wav_support.h"

namespace kelvora::transfer::test {
namespace {

constexpr int kWav16 = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
constexpr int kWav24 = SF_FORMAT_WAV | SF_FORMAT_PCM_24;

class AudioSource : public ::testing::Test {
 protected:
  OpenedSource Open(const std::string& name, SourceOptions options = {}) {
    return OpenUploadSource(temp_ / name, options);
  }
  // A refusal for the file, which must name it.
  std::string Refusal(const std::string& name, SourceOptions options = {}) {
    const OpenedSource opened = Open(name, options);
    EXPECT_EQ(opened.source, nullptr);
    const std::string named = temp_ / name;
    EXPECT_NE(opened.refusal.find(named + "' cannot be uploaded: "), std::string::npos)
        << opened.refusal;
    return opened.refusal;
  }
  // A quiet ramp of 24-bit values, each repeated, at an exact rate: only requantization.
  std::vector<int> WriteQuietRamp(const std::string& name) {
    std::vector<int> values;
    for (int repeat = 0; repeat < 32; ++repeat)
      for (int value = -2000; value <= 2000; value += 37) values.push_back(value);
    std::vector<int> left;  // libsndfile takes 24-bit values left-justified in 32 bits
    for (int value : values) left.push_back(value * 256);
    WriteSoundInts(temp_ / name, kWav24, 44100, left);
    return values;
  }

  TempFolder temp_;
};

TEST_F(AudioSource, AnExactRateWavGoesThroughTheSpecifiedPathWordForWord) {
  std::vector<uint8_t> frames;
  for (int i = 0; i < 700; ++i) frames.push_back(static_cast<uint8_t>(i * 37));
  WritePcm(temp_ / "mono16.wav", 1, 16, 31250, frames);
  WritePcm(temp_ / "stereo8.wav", 2, 8, 44100, frames);
  for (const auto& [name, channels, bits, mode] :
       {std::tuple{"mono16.wav", 1, 16, fcMono}, std::tuple{"stereo8.wav", 2, 8, fcRight},
        std::tuple{"stereo8.wav", 2, 8, fcMono}}) {
    SourceOptions options;
    options.pick.mode = mode;
    OpenedSource opened = Open(name, options);
    ASSERT_TRUE(opened.source) << opened.refusal;
    EXPECT_TRUE(opened.plan.specified);
    EXPECT_FALSE(opened.plan.resampled);
    EXPECT_EQ(opened.source->WordBits(), 0);
    const std::vector<int16_t> expected = ExpectedWords(frames, channels, bits, mode);
    const std::vector<int> words = AllWords(*opened.source);
    ASSERT_EQ(words.size(), expected.size());
    // Mono 16-bit words stay unsigned; the others are the same low 16 bits.
    for (size_t i = 0; i < words.size(); ++i)
      ASSERT_EQ(static_cast<int16_t>(words[i]), expected[i]) << name << " frame " << i;
  }
  EXPECT_EQ(Open("mono16.wav").source->RateWord(), 20 << 8);
  EXPECT_EQ(Open("mono16.wav").plan.format, "16-bit WAV, 31250 Hz, mono, 0.0 s");
}

TEST_F(AudioSource, AnInexactRateIsResampledToPlayAtPitch) {
  const Samples tone = Tone(1000, 22050, 0.25);
  WriteSound(temp_ / "tone.wav", kWav16, 22050, 1, tone);
  OpenedSource opened = Open("tone.wav");
  ASSERT_TRUE(opened.source) << opened.refusal;
  EXPECT_FALSE(opened.plan.specified);
  EXPECT_TRUE(opened.plan.resampled);
  EXPECT_EQ(opened.source->RateWord(), 28 << 8);
  EXPECT_EQ(opened.source->WordBits(), 16);
  const int expectedFrames = static_cast<int>(std::lround(tone.size() * PlayedRate(28) / 22050));
  EXPECT_EQ(opened.source->FrameCount(), expectedFrames);
  const std::vector<int> words = AllWords(*opened.source);
  ASSERT_EQ(static_cast<int>(words.size()), expectedFrames);
  std::vector<int16_t> samples(words.begin(), words.end());
  EXPECT_NEAR(CentsOff(MeasuredFrequency(samples, PlayedRate(28)), 1000), 0, 0.1);

  // A lower target is taken as chosen.
  SourceOptions lower;
  lower.targetCode = 40;
  opened = Open("tone.wav", lower);
  ASSERT_TRUE(opened.source);
  EXPECT_EQ(opened.source->FrameCount(), std::lround(tone.size() * 15625.0 / 22050));
}

TEST_F(AudioSource, SamplesSentUnchangedKeepTheSpecifiedRounding) {
  WriteSound(temp_ / "16.wav", kWav16, 22050, 1, Tone(1000, 22050, 0.1));
  WriteSound(temp_ / "24.wav", kWav24, 22050, 1, Tone(1000, 22050, 0.1));
  SourceOptions unchanged;
  unchanged.unchanged = true;
  OpenedSource specified = Open("16.wav", unchanged);
  ASSERT_TRUE(specified.source);
  EXPECT_TRUE(specified.plan.specified);
  EXPECT_EQ(specified.source->RateWord(), 28 << 8);
  EXPECT_EQ(specified.source->FrameCount(), 2205);
  OpenedSource converted = Open("24.wav", unchanged);
  ASSERT_TRUE(converted.source);
  EXPECT_FALSE(converted.plan.specified);
  EXPECT_FALSE(converted.plan.resampled);
  EXPECT_EQ(converted.source->RateWord(), 28 << 8);
  EXPECT_EQ(converted.source->FrameCount(), 2205);
  // 24 bits of the same tone round to within dither of the 16-bit words.
  const std::vector<int> words16 = AllWords(*specified.source);
  const std::vector<int> words24 = AllWords(*converted.source);
  for (size_t i = 0; i < words16.size(); ++i)
    ASSERT_NEAR(int16_t(words24[i]), int16_t(words16[i]), 2) << i;
}

TEST_F(AudioSource, A24BitRampIsDitheredNotTruncated) {
  const std::vector<int> values = WriteQuietRamp("ramp.wav");
  OpenedSource opened = Open("ramp.wav");
  ASSERT_TRUE(opened.source) << opened.refusal;
  EXPECT_FALSE(opened.plan.resampled);
  const std::vector<int> words = AllWords(*opened.source);
  ASSERT_EQ(words.size(), values.size());
  std::map<int, std::set<int>> outcomes;
  double errorSum = 0;
  for (size_t i = 0; i < words.size(); ++i) {
    const double exact = values[i] / 256.0;
    const int word = static_cast<int16_t>(words[i]);
    ASSERT_LE(std::fabs(word - exact), 1.5) << values[i];
    if (values[i] % 256 != 0) outcomes[values[i]].insert(word);
    errorSum += word - exact;
  }
  for (const auto& [value, seen] : outcomes) EXPECT_GE(seen.size(), 2u) << value;
  EXPECT_NEAR(errorSum / words.size(), 0, 0.05);
}

TEST_F(AudioSource, TheOriginalEpsGetsThirteenBitWords) {
  const std::vector<int> values = WriteQuietRamp("ramp.wav");
  SourceOptions eps;
  eps.bits = 13;
  OpenedSource fresh = Open("ramp.wav", eps);
  ASSERT_TRUE(fresh.source);
  EXPECT_EQ(fresh.source->WordBits(), 13);
  const std::vector<int> words = AllWords(*fresh.source);
  for (size_t i = 0; i < words.size(); ++i) {
    ASSERT_EQ(words[i] & 7, 0);
    ASSERT_LE(std::fabs(int16_t(words[i]) - values[i] / 256.0), 12);
  }
  // A source made for 16 bits and told afterwards starts again and gives the same words.
  OpenedSource told = Open("ramp.wav");
  int some[100];
  ASSERT_EQ(told.source->Fill(some, 100), 100);
  ASSERT_TRUE(told.source->Restart(13));
  EXPECT_EQ(AllWords(*told.source), words);
}

TEST_F(AudioSource, LoopAndRootKeyComeInScaledToTheTarget) {
  FileMarks marks;
  marks.loop = SourceLoop{1000, 3000, {}};
  marks.rootKey = 57;
  WriteSound(temp_ / "24.wav", kWav24, 22050, 1, Tone(1000, 22050, 0.2), marks);
  WriteSound(temp_ / "16.wav", kWav16, 44100, 1, Tone(1000, 44100, 0.2), marks);
  OpenedSource converted = Open("24.wav");
  ASSERT_TRUE(converted.source);
  const double ratio = PlayedRate(28) / 22050;
  ASSERT_TRUE(converted.source->Loop());
  EXPECT_EQ(converted.source->Loop()->start, std::lround(1000 * ratio));
  EXPECT_EQ(converted.source->Loop()->end, std::lround(3000 * ratio));
  EXPECT_FALSE(converted.source->Loop()->morlavineParam);
  EXPECT_EQ(converted.source->RootKey(), 57);
  OpenedSource specified = Open("16.wav");
  ASSERT_TRUE(specified.plan.specified);
  ASSERT_TRUE(specified.source->Loop());
  EXPECT_EQ(specified.source->Loop()->start, 1000);
  EXPECT_EQ(specified.source->Loop()->end, 3000);
  EXPECT_EQ(specified.source->RootKey(), 57);

  Save(temp_ / "loop.aiff", AiffWithLoop(1000, 100, 900, 64));
  OpenedSource aiff = Open("loop.aiff");
  ASSERT_TRUE(aiff.source) << aiff.refusal;
  ASSERT_TRUE(aiff.source->Loop());
  EXPECT_EQ(aiff.source->Loop()->start, 100);
  EXPECT_EQ(aiff.source->Loop()->end, 900);
  EXPECT_EQ(aiff.source->RootKey(), 64);
}

TEST_F(AudioSource, AMorlavineChunkLoopsAConvertedFileToo) {
  const Bytes frames(3 * 2205);
  const Bytes mrlv = ChunkOf("mrlv", Le16(2000) + Le16(0) + Le16(0) + Le16(9));
  Save(temp_ / "m.wav",
       RiffOf(ChunkOf("fmt ", FmtBody(1, 1, 22050, 24, 3)) + mrlv + ChunkOf("data", frames)));
  OpenedSource opened = Open("m.wav");
  ASSERT_TRUE(opened.source) << opened.refusal;
  ASSERT_TRUE(opened.source->Loop());
  EXPECT_EQ(opened.source->Loop()->start, 0);
  EXPECT_EQ(opened.source->Loop()->end, std::lround(2000 * PlayedRate(28) / 22050));
  EXPECT_EQ(opened.source->Loop()->morlavineParam, 9);
}

TEST_F(AudioSource, RefusalsNameTheFileAndTheReason) {
  Save(temp_ / "notes.txt", Text("these are not samples"));
  WritePcm(temp_ / "rate0.wav", 1, 16, 0, Bytes(200));
  WritePcm(temp_ / "fast.wav", 1, 16, 2000000, Bytes(200));
  Save(temp_ / "many.wav",
       RiffOf(ChunkOf("fmt ", FmtBody(1, 300, 44100, 16, 600)) + ChunkOf("data", Bytes(6000))));
  WriteSound(temp_ / "slow.wav", kWav16, 1, 1, Samples(3500));
  WriteSound(temp_ / "stereo.wav", kWav24, 44100, 2, Samples(200));
  Save(temp_ / "short.wav", RiffOf(ChunkOf("fmt ", FmtBody(1, 1, 44100, 24, 3))) + Text("data") +
                                Le32(3000) + Bytes(300));
  EXPECT_NE(Refusal("missing.wav").find("no such file"), std::string::npos);
  EXPECT_NE(Refusal("notes.txt").find("not in an audio format Kelvora reads"), std::string::npos);
  EXPECT_NE(Refusal("rate0.wav").find("sample rate is 0 Hz"), std::string::npos);
  EXPECT_NE(Refusal("fast.wav").find("2000000 Hz is above 1 MHz"), std::string::npos);
  EXPECT_NE(Refusal("many.wav").find("300 channels; at most 256"), std::string::npos);
  EXPECT_NE(Refusal("slow.wav").find("8578431 samples after conversion"), std::string::npos);
  EXPECT_NE(Refusal("short.wav").find("cut short"), std::string::npos) << Refusal("short.wav");
  SourceOptions third;
  third.pick = {fcChannel, 2};
  EXPECT_NE(Refusal("stereo.wav", third).find("channel 3 was chosen"), std::string::npos);
  SourceOptions tooFast;
  tooFast.targetCode = 5;
  EXPECT_NE(Refusal("stereo.wav", tooFast).find("rate code 5"), std::string::npos);
}

TEST_F(AudioSource, AFileCutShortWhileReadFailsTheRead) {
  WriteSound(temp_ / "tone.wav", kWav24, 48000, 1, Tone(1000, 48000, 0.5));
  OpenedSource opened = Open("tone.wav");
  ASSERT_TRUE(opened.source);
  std::vector<int> block(1000);
  ASSERT_EQ(opened.source->Fill(block.data(), 1000), 1000);
  std::filesystem::resize_file(temp_ / "tone.wav", 5000);
  int result = 0;
  for (int i = 0; i < 30 && result >= 0; ++i) result = opened.source->Fill(block.data(), 1000);
  EXPECT_EQ(result, -1);
}

TEST_F(AudioSource, BytesInMemoryGiveTheWordsTheFileGives) {
  WriteSound(temp_ / "tone.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 96000, 2,
             Tone(1000, 96000, 0.1, 2));
  const Bytes bytes = Load(temp_ / "tone.flac");
  OpenedSource memory = OpenUploadSourceInMemory(bytes.data(), bytes.size(), "tone.flac", {});
  ASSERT_TRUE(memory.source) << memory.refusal;
  EXPECT_EQ(memory.plan.format, "24-bit FLAC, 96000 Hz, stereo, 0.1 s");
  EXPECT_EQ(memory.source->FileName(), "tone.flac");
  EXPECT_EQ(AllWords(*memory.source), AllWords(*Open("tone.flac").source));
  const Bytes junk(100, 0x55);
  EXPECT_NE(OpenUploadSourceInMemory(junk.data(), junk.size(), "junk", {}).refusal, "");
}

}  // namespace
}  // namespace kelvora::transfer::test
