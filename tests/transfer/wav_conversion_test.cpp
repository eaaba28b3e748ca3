#include <gtest/gtest.h>

#include "transfer/FrameConversion.h"
#include "transfer/wav_support.h"

namespace kelvora::transfer::test {
namespace {

struct Row {
  Bytes frame;
  int channels;
  int bits;
  int mode;
  int word;
};

Bytes Stereo16(int left, int right) { return Le16(uint16_t(left)) + Le16(uint16_t(right)); }

TEST(FrameToWord, BlockFillingTable) {
  const Row rows[] = {
      {{0x00}, 1, 8, fcMono, -32768},
      {{0x80}, 1, 8, fcLeft, 0},
      {{0xFF}, 1, 8, fcRight, 32512},
      {{0x34, 0x12}, 1, 16, fcMono, 0x1234},
      {{0xFF, 0xFF}, 1, 16, fcMono, 65535},  // mono 16-bit stays unsigned
      {{0x00, 0x80}, 1, 16, fcLeft, 32768},
      {{255, 0}, 2, 8, fcLeft, 32512},
      {{255, 0}, 2, 8, fcRight, -32768},
      {{255, 0}, 2, 8, fcMono, -128},
      {{0, 0}, 2, 8, fcMono, -32768},
      {{255, 255}, 2, 8, fcMono, 32512},
      {Stereo16(-3, -3), 2, 16, fcMono, -2},
      {Stereo16(-3, 5), 2, 16, fcMono, 1},
      {Stereo16(-3, 5), 2, 16, fcLeft, -3},
      {Stereo16(-3, 5), 2, 16, fcRight, 5},
      {Stereo16(32767, 32767), 2, 16, fcMono, 32766},
      {Stereo16(-32768, -32768), 2, 16, fcMono, -32768},
  };
  for (const Row& row : rows)
    EXPECT_EQ(FrameToWord(row.frame.data(), row.channels, row.bits, row.mode), row.word)
        << row.channels << " channel(s), " << row.bits << " bits, mode " << row.mode
        << ", first byte " << int(row.frame[0]);
}

TEST(FrameToWord, OnlyMonoAndStereoOf8Or16BitsConvert) {
  EXPECT_TRUE(CanConvertFrames(2, 8));
  EXPECT_FALSE(CanConvertFrames(3, 16));
  EXPECT_FALSE(CanConvertFrames(1, 24));
  EXPECT_FALSE(CanConvertFrames(0, 16));
  EXPECT_EQ(ConvertibleFrameBytes(2, 16), 4);
  EXPECT_EQ(ConvertibleFrameBytes(1, 8), 1);
  EXPECT_EQ(ConvertibleFrameBytes(1, 24), 0);
  const uint8_t frame[6] = {0xFF, 0x7F, 0xFF, 0x7F, 0xFF, 0x7F};
  EXPECT_EQ(FrameToWord(frame, 3, 16, fcMono), 0);
}

}  // namespace
}  // namespace kelvora::transfer::test
