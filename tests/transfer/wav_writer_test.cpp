#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "transfer/RiffFile.h"
#include "transfer/WavWriter.h"
#include "transfer/wav_support.h"

namespace kelvora::transfer::test {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

class WavWriter : public ::testing::Test {
 protected:
  std::string Path() const { return temp_ / "out.wav"; }
  File Create() { return File(std::fopen(Path().c_str(), "wb")); }

  // A download of `count` samples (0, -1, 2, -3, ...) with a header announcing `announced`.
  void WriteSamples(std::FILE* file, uint32_t announced, int count) {
    ASSERT_TRUE(WriteWavHeader(file, 44100, announced));
    for (int i = 0; i < count; ++i)
      ASSERT_TRUE(WriteLe16(file, static_cast<uint16_t>(i % 2 != 0 ? -i : i)));
  }

  TempFolder temp_;
};

TEST_F(WavWriter, HeaderFor1000SamplesAt44100) {
  File file = Create();
  ASSERT_TRUE(WriteWavHeader(file.get(), 44100, 1000));
  file.reset();
  Bytes expected = Text("RIFF") + Le32(2036) + Text("WAVE") + Text("fmt ") + Le32(16) + Le16(1) +
                   Le16(1) + Le32(44100) + Le32(88200) + Le16(2) + Le16(16) + Text("data") +
                   Le32(2000);
  EXPECT_EQ(Load(Path()), expected);
}

TEST_F(WavWriter, WrittenFileReadsBackSampleForSample) {
  File file = Create();
  WriteSamples(file.get(), 300, 300);
  file.reset();

  TRiffFile riff;
  riff.SetFileName(Path());
  ASSERT_TRUE(riff.ReadHeader()) << riff.LastError();
  EXPECT_EQ(riff.FrameCount, 300);
  EXPECT_EQ(riff.SampleRate, 44100);
  EXPECT_FALSE(riff.IsMorlavine);
  uint8_t frame[2];
  for (int i = 0; i < 300; ++i) {
    ASSERT_TRUE(riff.ReadFrame(frame, sizeof frame));
    EXPECT_EQ(static_cast<int16_t>(frame[0] | frame[1] << 8), i % 2 != 0 ? -i : i);
  }
}

TEST_F(WavWriter, StoppedDownloadRewritesItsSizesToTheSamplesWritten) {
  File file = Create();
  WriteSamples(file.get(), 1000, 512);
  ASSERT_TRUE(RewriteWavSizes(file.get(), 512));
  ASSERT_TRUE(WriteLe16(file.get(), 0x7777)) << "the stream is left at its end";
  ASSERT_TRUE(RewriteWavSizes(file.get(), 513));
  file.reset();

  Bytes bytes = Load(Path());
  ASSERT_EQ(bytes.size(), 44u + 2 * 513);
  EXPECT_EQ(Bytes(bytes.begin() + 4, bytes.begin() + 8), Le32(36 + 1026));
  EXPECT_EQ(Bytes(bytes.begin() + 40, bytes.begin() + 44), Le32(1026));
  EXPECT_EQ(Bytes(bytes.end() - 2, bytes.end()), Le16(0x7777));
}

TEST_F(WavWriter, SmplChunkAndTheSizesThatCountIt) {
  File file = Create();
  SmplChunk smpl;
  smpl.samplePeriodNs = 44800;
  smpl.unityNote = 48;
  smpl.hasLoop = true;
  smpl.loopType = 1;
  smpl.loopStart = 100;
  smpl.loopLast = 899;
  ASSERT_EQ(SmplChunkBytes(smpl), 68u);
  WriteSamples(file.get(), 1000, 1000);
  ASSERT_TRUE(WriteSmplChunk(file.get(), smpl));
  ASSERT_TRUE(RewriteWavSizes(file.get(), 1000, 68));
  file.reset();
  const Bytes bytes = Load(Path());
  ASSERT_EQ(bytes.size(), 44u + 2000 + 68);
  EXPECT_EQ(Bytes(bytes.begin() + 4, bytes.begin() + 8), Le32(36 + 2000 + 68));
  EXPECT_EQ(Bytes(bytes.begin() + 40, bytes.begin() + 44), Le32(2000));
  const Bytes chunk = Text("smpl") + Le32(60) + Le32(0) + Le32(0) + Le32(44800) + Le32(48) +
                      Le32(0) + Le32(0) + Le32(0) + Le32(1) + Le32(0) + Le32(0) + Le32(1) +
                      Le32(100) + Le32(899) + Le32(0) + Le32(0);
  EXPECT_EQ(Bytes(bytes.begin() + 2044, bytes.end()), chunk);
  smpl.hasLoop = false;
  EXPECT_EQ(SmplChunkBytes(smpl), 44u);
}

TEST_F(WavWriter, ImpossibleHeadersAndRefusingStreamsReportFailure) {
  File file = Create();
  EXPECT_FALSE(WriteWavHeader(file.get(), 44100, kMaxWavSamples + 1));
  EXPECT_FALSE(WriteWavHeader(file.get(), -1, 10));
  EXPECT_FALSE(RewriteWavSizes(file.get(), kMaxWavSamples + 1));
  EXPECT_FALSE(WriteWavHeader(nullptr, 44100, 10));
  file.reset();
  EXPECT_EQ(Load(Path()), Bytes{}) << "nothing written for a refused header";

  EXPECT_TRUE(WriteWavHeader(Create().get(), 8000, kMaxWavSamples));
  Bytes largest = Load(Path());
  ASSERT_EQ(largest.size(), 44u);
  EXPECT_EQ(Bytes(largest.begin() + 4, largest.begin() + 8), Le32(0xFFFFFFFF - 1));

  File readOnly(std::fopen(Path().c_str(), "rb"));
  EXPECT_FALSE(WriteWavHeader(readOnly.get(), 44100, 10));
  EXPECT_FALSE(RewriteWavSizes(readOnly.get(), 10));
}

TEST_F(WavWriter, SoxAcceptsTheWrittenFile) {
  if (!HaveSox()) GTEST_SKIP() << "sox is not installed: the written file is not checked by it";
  File file = Create();
  WriteSamples(file.get(), 1000, 1000);
  file.reset();
  ASSERT_TRUE(RunSox(Path() + " -t raw " + (temp_ / "back.raw")));
  Bytes samples = Load(Path());
  EXPECT_EQ(Load(temp_ / "back.raw"), Bytes(samples.begin() + 44, samples.end()));
}

}  // namespace
}  // namespace kelvora::transfer::test
