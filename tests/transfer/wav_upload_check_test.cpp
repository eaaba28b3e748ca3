#include <gtest/gtest.h>

#include "transfer/RiffFile.h"
#include "transfer/UploadCheck.h"
#include "transfer/wav_support.h"

namespace kelvora::transfer::test {
namespace {

class UploadCheck : public ::testing::Test {
 protected:
  // The refusal for a file of one format chunk and a data chunk of `dataBytes` bytes.
  std::string RefusalOf(int tag, int channels, int rate, int bits, int blockAlign,
                        size_t dataBytes = 8) {
    Save(Path(), RiffOf(ChunkOf("fmt ", FmtBody(tag, channels, rate, bits, blockAlign)) +
                        ChunkOf("data", Bytes(dataBytes, 0x80))));
    riff_.SetFileName(Path());
    riff_.ReadHeader();
    return UploadRefusal(riff_);
  }
  std::string Path() const { return temp_ / "upload.wav"; }

  TempFolder temp_;
  TRiffFile riff_;
};

TEST_F(UploadCheck, MonoAndStereoOf8Or16BitsAreAccepted) {
  EXPECT_EQ(RefusalOf(1, 1, 44100, 16, 2), "");
  EXPECT_EQ(RefusalOf(1, 2, 22050, 16, 4), "");
  EXPECT_EQ(RefusalOf(1, 1, 8000, 8, 1), "");
  EXPECT_EQ(RefusalOf(1, 2, 96000, 8, 2), "");
}

TEST_F(UploadCheck, FormatsTheUploadCannotConvertAreRefusedWithTheReason) {
  EXPECT_EQ(RefusalOf(3, 1, 44100, 32, 4), "format tag 3 (floating point) is not PCM");
  EXPECT_EQ(RefusalOf(0xFFFE, 2, 44100, 24, 6), "format tag 0xFFFE (extensible) is not PCM");
  EXPECT_EQ(RefusalOf(1, 3, 44100, 16, 6),
            "3 channels: only mono and stereo files can be uploaded");
  EXPECT_EQ(RefusalOf(1, 0, 44100, 16, 2),
            "0 channels: only mono and stereo files can be uploaded");
  EXPECT_EQ(RefusalOf(1, 1, 44100, 24, 3),
            "24 bits per sample: only 8-bit and 16-bit files can be uploaded");
  EXPECT_EQ(RefusalOf(1, 2, 44100, 16, 2),
            "a frame of 2 bytes does not fit 2 channel(s) of 16 bits");
}

TEST_F(UploadCheck, FilesWithoutRateOrSamplesAreRefused) {
  EXPECT_EQ(RefusalOf(1, 1, 0, 16, 2), "the sample rate is 0 Hz");
  EXPECT_EQ(RefusalOf(1, 1, -44100, 16, 2), "the sample rate is -44100 Hz");
  EXPECT_EQ(RefusalOf(1, 1, 44100, 16, 2, 0), "the data chunk holds no samples");
}

TEST_F(UploadCheck, FilesTooLongForTheSamplerAreRefused) {
  ASSERT_EQ(RefusalOf(1, 1, 44100, 16, 2), "");
  riff_.FrameCount = kMaxUploadFrames;
  EXPECT_EQ(UploadRefusal(riff_), "");
  riff_.FrameCount = kMaxUploadFrames + 1;
  EXPECT_EQ(UploadRefusal(riff_), "8388606 samples: a wavesample holds at most 8388605");
}

TEST_F(UploadCheck, AFileNotReadIsRefused) {
  EXPECT_EQ(UploadRefusal(riff_), "the file has not been read");
  ASSERT_EQ(RefusalOf(1, 1, 44100, 16, 2), "");
  riff_.Close();
  EXPECT_EQ(UploadRefusal(riff_), "the file has not been read");
  riff_.SetFileName(temp_ / "missing.wav");
  riff_.ReadHeader();
  EXPECT_EQ(UploadRefusal(riff_), "no such file");
}

}  // namespace
}  // namespace kelvora::transfer::test
