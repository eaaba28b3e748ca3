#include "protocol/Records.h"

#include <algorithm>
#include <cstdint>

namespace kelvora::protocol {

namespace {

// The high byte of a word. Decoded W16 values may carry bits above 16; they are not part of it.
int HighByte(int word) { return (word >> 8) & 0xFF; }

constexpr int kDefaultRateCode = 21;
constexpr int kFastestPeriodCode = 2;  // codes 0 and 1 name 48000 and 44100 Hz
constexpr int kSlowestPeriodCode = 255;

}  // namespace

// clang-format off
const int kDefaultWsParams[kWsRecordWords] = {
    0x5500, 0x4E00, 0x4E00, 0x4100, 0x4D00, 0x4500, 0x4400, 0x2000,  // 0
    0x5700, 0x5300, 0x2000, 0x2000, 0x0000, 0x0000, 0x0000, 0x0000,  // 8
    0x0000, 0x0A00, 0x6400, 0x7F00, 0x4000, 0x5A00, 0x6400, 0x3400,  // 16
    0x5000, 0x5500, 0x2800, 0x4000, 0x5000, 0x1E00, 0x0000, 0x8000,  // 24
    0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x4000, 0x7F00, 0x0A00,  // 32
    0x4000, 0x7F00, 0x4000, 0x3C00, 0x6400, 0x3400, 0x3700, 0x5500,  // 40
    0x2800, 0x3200, 0x5000, 0x1E00, 0x0000, 0x8100, 0x0000, 0x0000,  // 48
    0x0000, 0x0000, 0x0000, 0x4000, 0x7F00, 0x0000, 0x4000, 0x7F00,  // 56
    0x4000, 0x4000, 0x7F00, 0x3400, 0x4000, 0x7F00, 0x2800, 0x4000,  // 64
    0x7F00, 0x1400, 0x0000, 0x8100, 0x0000, 0x0000, 0x0000, 0x0000,  // 72
    0x3C00, 0x0000, 0x0800, 0x0000, 0x0D00, 0x0300, 0x0000, 0x0000,  // 80
    0x0300, 0x7F00, 0x7F00, 0x0A00, 0x0A00, 0x0000, 0x0000, 0x0D00,  // 88
    0x0D00, 0x0000, 0x0000, 0x7F00, 0x0D00, 0x0000, 0x7F00, 0x7F00,  // 96
    0x7F00, 0x0300, 0x0000, 0x0000, 0x2800, 0x0000, 0x287F, 0x0A0D,  // 104
    0x0000, 0x1400, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000,  // 112
    0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000,  // 120
    0x0000, 0x0000, 0x0000, 0x1500, 0x1500, 0x6C00, 0x0D00, 0x0000,  // 128
    0x0600, 0x0000, 0x0000,  // 136
};
// clang-format on

int GetPosition(const int* record, int index) {
  uint32_t scaled = 0;
  for (int i = 0; i < 4; ++i) {
    scaled = (scaled << 8) | static_cast<uint32_t>(HighByte(record[index + i]));
  }
  return static_cast<int>(scaled >> 9);
}

void SetPosition(int* record, int index, int position) {
  const uint32_t scaled = static_cast<uint32_t>(std::clamp(position, 0, kMaxPosition)) << 9;
  record[index] = static_cast<int>(scaled >> 24) << 8;
  record[index + 1] = static_cast<int>((scaled >> 16) & 0xFF) << 8;
  record[index + 2] = static_cast<int>(scaled & 0xFF00);
  record[index + 3] = 0;
}

int AuditionKey(const int* record) {
  const int key = std::max(std::min(HighByte(record[kWsRootKey]), HighByte(record[kWsHighKey])),
                           HighByte(record[kWsLowKey]));
  return std::min(key, 127);
}

int SampleRateFromCode(int rateWord) {
  const int code = HighByte(rateWord);
  if (code == 0) return 48000;
  if (code == 1) return 44100;
  return 625000 / code;
}

int RateWordForSampleRate(int hz) {
  if (hz == 44100) return 1 << 8;
  if (hz == 48000) return 0;
  if (hz <= 0) return kDefaultRateCode << 8;
  return std::clamp(625000 / hz, kFastestPeriodCode, kSlowestPeriodCode) << 8;
}

int ChannelPosition(const int* record) {
  return static_cast<int8_t>(record[kWsChannelPosition] & 0xFF);
}

void SetChannelPosition(int* record, int position) {
  const int low = std::clamp(position, -128, 127) & 0xFF;
  record[kWsChannelPosition] = (record[kWsChannelPosition] & ~0xFF) | low;
}

void ResetWsParams(int* record) { std::copy_n(kDefaultWsParams, kWsRecordWords, record); }

}  // namespace kelvora::protocol
