#include <gtest/gtest.h>

#include "transfer/RiffFile.h"
#include "transfer/wav_support.h"

namespace kelvora::transfer::test {
namespace {

const Bytes kMonoFmt = ChunkOf("fmt ", FmtBody(1, 1, 22050, 16, 2));
const Bytes kTwoFrames = ChunkOf("data", Bytes{0x34, 0x12, 0xCD, 0xAB});

class WavReader : public ::testing::Test {
 protected:
  // Saves the chunks as a WAVE file and reads its header.
  bool ReadChunks(const Bytes& chunks) { return ReadBytes(RiffOf(chunks)); }
  bool ReadBytes(const Bytes& bytes) {
    Save(temp_ / "file.wav", bytes);
    riff_.SetFileName(temp_ / "file.wav");
    return riff_.ReadHeader();
  }
  Bytes NextFrame() {
    Bytes frame(riff_.BlockAlign > 0 ? size_t(riff_.BlockAlign) : 1);
    return riff_.ReadFrame(frame.data(), frame.size()) ? frame : Bytes{};
  }

  TempFolder temp_;
  TRiffFile riff_;
};

TEST_F(WavReader, EighteenByteFormatChunkIsReadAndItsExtensionSkipped) {
  ASSERT_TRUE(ReadChunks(ChunkOf("fmt ", FmtBody(1, 1, 22050, 16, 2, 2)) + kTwoFrames));
  EXPECT_TRUE(riff_.IsOpen);
  EXPECT_EQ(riff_.FormatTag, 1);
  EXPECT_EQ(riff_.Channels, 1);
  EXPECT_EQ(riff_.SampleRate, 22050);
  EXPECT_EQ(riff_.ByteRate, 44100);
  EXPECT_EQ(riff_.BlockAlign, 2);
  EXPECT_EQ(riff_.BitsPerSample, 16);
  EXPECT_EQ(riff_.FrameCount, 2);
  EXPECT_EQ(NextFrame(), (Bytes{0x34, 0x12}));
  EXPECT_EQ(NextFrame(), (Bytes{0xCD, 0xAB}));
  EXPECT_EQ(NextFrame(), Bytes{}) << "no frame beyond the data chunk";
  EXPECT_EQ(riff_.LastError(), "");
}

TEST_F(WavReader, MorlavineChunkCountsOnlyWithAllFourValuesAfterTheFormat) {
  Bytes values = Le16(1000) + Le16(2) + Le16(3) + Le16(0xFFFE);
  ASSERT_TRUE(ReadChunks(kMonoFmt + ChunkOf("mrlv", values + Bytes{9, 9, 9, 9}) + kTwoFrames));
  EXPECT_TRUE(riff_.IsMorlavine);
  EXPECT_EQ(riff_.MorlavineLoopEnd, 1000);
  EXPECT_EQ(riff_.MorlavineWord2, 2);
  EXPECT_EQ(riff_.MorlavineWord3, 3);
  EXPECT_EQ(riff_.MorlavineParam, 0xFFFE) << "16-bit fields read as unsigned";
  EXPECT_EQ(NextFrame(), (Bytes{0x34, 0x12})) << "the chunk's 4 extra bytes were skipped";

  ASSERT_TRUE(ReadChunks(kMonoFmt + ChunkOf("mrlv", Le16(1000) + Le16(2) + Le16(3)) + kTwoFrames));
  EXPECT_FALSE(riff_.IsMorlavine) << "6 bytes are too few";
  EXPECT_EQ(riff_.MorlavineLoopEnd, 0) << "a new header forgets the previous file's values";
  EXPECT_EQ(NextFrame(), (Bytes{0x34, 0x12}));

  ASSERT_TRUE(ReadChunks(ChunkOf("mrlv", values) + kMonoFmt + kTwoFrames));
  EXPECT_FALSE(riff_.IsMorlavine) << "the format chunk clears it";
  EXPECT_EQ(riff_.MorlavineLoopEnd, 1000) << "but the values are kept";
}

TEST_F(WavReader, StereoFramesAreCountedByBlockAlign) {
  Bytes samples(4000);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = uint8_t(i * 13);
  ASSERT_TRUE(ReadChunks(ChunkOf("fmt ", FmtBody(1, 2, 44100, 16, 4)) + ChunkOf("data", samples)));
  EXPECT_EQ(riff_.BlockAlign, 4);
  EXPECT_EQ(riff_.FrameCount, 1000);
  Bytes all;
  for (Bytes frame; !(frame = NextFrame()).empty();) all = all + frame;
  EXPECT_EQ(all, samples);
}

TEST_F(WavReader, OddSizedChunksAreFollowedByTheirPadByte) {
  Bytes odd = ChunkOf("LIST", Bytes{'a', 'b', 'c'}) + ChunkOf("mrlv", Le32(7) + Le32(9) + Bytes{1});
  ASSERT_TRUE(ReadChunks(odd + kMonoFmt + odd + kTwoFrames)) << riff_.LastError();
  EXPECT_TRUE(riff_.IsMorlavine);
  EXPECT_EQ(riff_.MorlavineLoopEnd, 7);
  EXPECT_EQ(NextFrame(), (Bytes{0x34, 0x12}));
}

TEST_F(WavReader, DataCutShortCountsOnlyTheWholeFramesPresent) {
  Bytes header = Text("data") + Le32(4000);
  ASSERT_TRUE(ReadChunks(ChunkOf("fmt ", FmtBody(1, 2, 44100, 16, 4)) + header + Bytes(1001, 7)));
  EXPECT_EQ(riff_.FrameCount, 250);

  Bytes streamed = Text("data") + Le32(0xFFFFFFFF) + Bytes{1, 2, 3, 4};
  ASSERT_TRUE(ReadChunks(kMonoFmt + streamed));
  EXPECT_EQ(riff_.FrameCount, 2);
}

struct BadFile {
  const char* name;
  Bytes bytes;
  const char* error;
};

TEST_F(WavReader, BadFilesFailWithAReasonAndLeaveTheFileClosed) {
  const Bytes fmt = kMonoFmt;
  const BadFile files[] = {
      {"not RIFF", Text("RIFX") + Le32(4) + Text("WAVE"), "not a RIFF file"},
      {"too short for RIFF", Text("RIF"), "not a RIFF file"},
      {"not WAVE", Text("RIFF") + Le32(4) + Text("AVI "), "not a WAVE file"},
      {"float", RiffOf(ChunkOf("fmt ", FmtBody(3, 1, 8000, 32, 4, 2)) + kTwoFrames),
       "format tag 3 (floating point) is not PCM"},
      {"extensible", RiffOf(ChunkOf("fmt ", FmtBody(0xFFFE, 1, 8000, 24, 3, 24)) + kTwoFrames),
       "format tag 0xFFFE (extensible) is not PCM"},
      {"no data", RiffOf(fmt + ChunkOf("LIST", Bytes(6))), "the file has no data chunk"},
      {"no chunks", RiffOf({}), "the file has no format chunk"},
      {"data first", RiffOf(kTwoFrames + fmt), "the data chunk comes before the format chunk"},
      {"empty data", RiffOf(fmt + ChunkOf("data", {})), "the data chunk holds no samples"},
      {"half a frame", RiffOf(fmt + ChunkOf("data", Bytes{1})), "the data chunk holds no samples"},
      {"block align 0", RiffOf(ChunkOf("fmt ", FmtBody(1, 1, 8000, 16, 0)) + kTwoFrames),
       "the format chunk gives a block align of 0"},
      {"format too short", RiffOf(ChunkOf("fmt ", Bytes(14)) + kTwoFrames),
       "the format chunk is too short"},
      {"format cut off", RiffOf(Text("fmt ") + Le32(16) + Bytes(6)),
       "chunk 'fmt ' runs past the end of the file"},
      {"huge chunk", RiffOf(fmt + Text("LIS\x01") + Le32(0xFFFFFFF0) + kTwoFrames),
       "chunk 'LIS?' runs past the end of the file"},
      {"header cut off", RiffOf(fmt + Text("da")), "the file has no data chunk"},
  };
  for (const BadFile& file : files) {
    EXPECT_FALSE(ReadBytes(file.bytes)) << file.name;
    EXPECT_EQ(riff_.LastError(), file.error) << file.name;
    EXPECT_FALSE(riff_.IsOpen) << file.name;
    EXPECT_EQ(NextFrame(), Bytes{}) << file.name;
  }
  riff_.SetFileName(temp_ / "missing.wav");
  EXPECT_FALSE(riff_.ReadHeader());
  EXPECT_EQ(riff_.LastError(), "no such file");
}

TEST_F(WavReader, FramesNeedRoomForABlockAlign) {
  ASSERT_TRUE(ReadChunks(ChunkOf("fmt ", FmtBody(1, 2, 8000, 16, 4)) + ChunkOf("data", Bytes(8))));
  uint8_t frame[4];
  EXPECT_FALSE(riff_.ReadFrame(frame, 3));
  EXPECT_TRUE(riff_.ReadFrame(frame, 4));
}

TEST_F(WavReader, OpenAndSetFileNameFollowTheFile) {
  riff_.SetFileName(temp_ / "missing.wav");
  EXPECT_FALSE(riff_.Open());
  EXPECT_FALSE(riff_.IsOpen);
  ASSERT_TRUE(ReadChunks(kMonoFmt + kTwoFrames));
  ASSERT_TRUE(riff_.IsOpen);
  riff_.SetFileName("other.wav");
  EXPECT_FALSE(riff_.IsOpen);
  EXPECT_EQ(riff_.FileName, "other.wav");
  EXPECT_EQ(NextFrame(), Bytes{});
}

class SoxFiles : public WavReader {
 protected:
  void SetUp() override {
    if (!HaveSox()) GTEST_SKIP() << "sox is not installed: the files it writes are not tested";
    Save(temp_ / "in.raw", Bytes{0x01, 0x00, 0x80, 0x7F, 0xFD, 0xFF, 0x00, 0x80});
  }
  bool SoxRead(const std::string& input, const std::string& output) {
    std::string path = temp_ / "sox.wav";
    if (!RunSox(input + " " + (temp_ / "in.raw") + " " + output + " " + path)) return false;
    riff_.SetFileName(path);
    return riff_.ReadHeader();
  }
};

TEST_F(SoxFiles, PcmFilesGiveTheirFormatAndFrames) {
  ASSERT_TRUE(SoxRead("-t raw -r 22050 -e signed -b 16 -c 2", "")) << riff_.LastError();
  EXPECT_EQ(riff_.Channels, 2);
  EXPECT_EQ(riff_.SampleRate, 22050);
  EXPECT_EQ(riff_.BitsPerSample, 16);
  EXPECT_EQ(riff_.FrameCount, 2);
  EXPECT_EQ(NextFrame(), (Bytes{0x01, 0x00, 0x80, 0x7F}));
  EXPECT_EQ(NextFrame(), (Bytes{0xFD, 0xFF, 0x00, 0x80}));

  ASSERT_TRUE(SoxRead("-t raw -r 8000 -e unsigned -b 8 -c 1", "")) << riff_.LastError();
  EXPECT_EQ(riff_.BitsPerSample, 8);
  EXPECT_EQ(riff_.FrameCount, 8);
  EXPECT_EQ(NextFrame(), Bytes{0x01});
}

TEST_F(SoxFiles, FloatAndExtensibleFilesAreRefused) {
  EXPECT_FALSE(SoxRead("-t raw -r 8000 -e signed -b 16 -c 1", "-e floating-point -b 32"));
  EXPECT_EQ(riff_.LastError(), "format tag 3 (floating point) is not PCM");
  EXPECT_FALSE(SoxRead("-t raw -r 8000 -e signed -b 16 -c 1", "-b 24"));
  EXPECT_EQ(riff_.LastError(), "format tag 0xFFFE (extensible) is not PCM");
}

}  // namespace
}  // namespace kelvora::transfer::test
