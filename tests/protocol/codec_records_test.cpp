#include <gtest/gtest.h>

#include <array>

#include "protocol/NameCodec.h"
#include "protocol/Records.h"

namespace kelvora::protocol {
namespace {

using Record = std::array<int, kWsRecordWords>;

Record Filled(int word) {
  Record r;
  r.fill(word);
  return r;
}

TEST(Positions, FourHighBytesHoldPositionTimes512) {
  Record r = Filled(0x5A5A);
  SetPosition(r.data(), kWsSampleEnd, 100000);
  EXPECT_EQ(r[119], 0x0300);
  EXPECT_EQ(r[120], 0x0D00);
  EXPECT_EQ(r[121], 0x4000);
  EXPECT_EQ(r[122], 0x0000);
  EXPECT_EQ(r[118], 0x5A5A);  // the neighbours are not touched
  EXPECT_EQ(r[123], 0x5A5A);
  EXPECT_EQ(GetPosition(r.data(), kWsSampleEnd), 100000);

  // Low bytes and the fraction below bit 9 are not part of the position.
  r[122] = 0xFF00;
  r[119] |= 0x00FF;
  EXPECT_EQ(GetPosition(r.data(), kWsSampleEnd), 100000);
}

TEST(Positions, WholeRangeAndOutOfRange) {
  Record r = Filled(0);
  for (int p : {0, 1, 511, 512, 65535, kMaxPosition}) {
    SetPosition(r.data(), kWsLoopEnd, p);
    EXPECT_EQ(GetPosition(r.data(), kWsLoopEnd), p);
  }
  SetPosition(r.data(), kWsLoopStart, -5);
  EXPECT_EQ(GetPosition(r.data(), kWsLoopStart), 0);
  SetPosition(r.data(), kWsLoopStart, kMaxPosition + 1);
  EXPECT_EQ(GetPosition(r.data(), kWsLoopStart), kMaxPosition);
  // Words decoded without a mask may carry bits above 16; the high byte is all that counts.
  Record wide = Filled(0x70000);
  EXPECT_EQ(GetPosition(wide.data(), kWsSampleStart), 0);
  wide.fill(0x7FF00);
  EXPECT_EQ(GetPosition(wide.data(), kWsSampleStart), kMaxPosition);
}

TEST(SampleRate, CodesBothWays) {
  EXPECT_EQ(SampleRateFromCode(0), 48000);
  EXPECT_EQ(SampleRateFromCode(1 << 8), 44100);
  EXPECT_EQ(SampleRateFromCode(21 << 8), 29761);
  EXPECT_EQ(SampleRateFromCode(14 << 8), 44642);
  EXPECT_EQ(SampleRateFromCode((21 << 8) | 0xFF), 29761);
  EXPECT_EQ(SampleRateFromCode(0x10000 | (21 << 8)), 29761);

  EXPECT_EQ(RateWordForSampleRate(22050), 0x1C00);
  EXPECT_EQ(RateWordForSampleRate(44100), 1 << 8);
  EXPECT_EQ(RateWordForSampleRate(48000), 0);
  EXPECT_EQ(RateWordForSampleRate(96000), 6 << 8);
}

TEST(SampleRate, RatesWithoutAUsableCode) {
  EXPECT_EQ(RateWordForSampleRate(0), 21 << 8);
  EXPECT_EQ(RateWordForSampleRate(-44100), 21 << 8);
  // Too slow for one byte: the slowest code, still a 16-bit word.
  EXPECT_EQ(RateWordForSampleRate(1000), 255 << 8);
  // So fast that the period would read as 48000 or 44100 Hz.
  EXPECT_EQ(RateWordForSampleRate(400000), 2 << 8);
  EXPECT_EQ(RateWordForSampleRate(1000000), 2 << 8);
}

TEST(AuditionKey, RootKeyLimitedToTheKeyRange) {
  Record r = Filled(0);
  auto key = [&](int root, int low, int high) {
    r[kWsRootKey] = root << 8;
    r[kWsLowKey] = low << 8;
    r[kWsHighKey] = high << 8;
    return AuditionKey(r.data());
  };
  EXPECT_EQ(key(60, 65, 80), 65);
  EXPECT_EQ(key(90, 21, 72), 72);
  EXPECT_EQ(key(60, 21, 108), 60);
  EXPECT_EQ(key(60, 200, 255), 127);
}

TEST(ChannelPosition, LowByteSignedHighByteKept) {
  Record r = Filled(0);
  ResetWsParams(r.data());
  SetChannelPosition(r.data(), -127);
  EXPECT_EQ(r[kWsChannelPosition], 0x0381);
  EXPECT_EQ(ChannelPosition(r.data()), -127);
  SetChannelPosition(r.data(), 127);
  EXPECT_EQ(r[kWsChannelPosition], 0x037F);
  EXPECT_EQ(ChannelPosition(r.data()), 127);
  SetChannelPosition(r.data(), -1000);
  EXPECT_EQ(ChannelPosition(r.data()), -128);
}

TEST(DefaultWsRecord, FactsOfTheUploadStartingPoint) {
  Record r = Filled(0x1234);
  ResetWsParams(r.data());
  std::string raw;
  for (int i = 0; i < kNameLength; ++i) raw += static_cast<char>(r[i] >> 8);
  EXPECT_EQ(raw, "UNNAMED WS  ");
  EXPECT_EQ(DecodeName(r.data()), "Unnamed Ws");
  EXPECT_EQ(r[kWsCopySource], 0);
  EXPECT_EQ(r[kWsRootKey] >> 8, 60);
  EXPECT_EQ(r[kWsPlaybackMode], kForwardNoLoop);
  for (int index : {kWsSampleStart, kWsSampleEnd, kWsLoopStart, kWsLoopEnd}) {
    EXPECT_EQ(GetPosition(r.data(), index), 0) << index;
  }
  EXPECT_EQ(r[kWsRate] >> 8, 21);
  EXPECT_EQ(r[kWsLowKey] >> 8, 21);
  EXPECT_EQ(r[kWsHighKey] >> 8, 108);
  EXPECT_EQ(r[110], 0x287F);
  EXPECT_EQ(r[111], 0x0A0D);
  EXPECT_EQ(r[136], 0x0600);
  EXPECT_EQ(r[138], 0);
}

}  // namespace
}  // namespace kelvora::protocol
