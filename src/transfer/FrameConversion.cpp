#include "transfer/FrameConversion.h"

namespace kelvora::transfer {
namespace {

constexpr int kOffset = 32768;  // unsigned 8-bit silence (128) lands on 0

int Signed16(const uint8_t* bytes) { return static_cast<int16_t>(bytes[0] | bytes[1] << 8); }

int Unsigned16(const uint8_t* bytes) { return bytes[0] | bytes[1] << 8; }

int Stereo8(const uint8_t* frame, int channelMode) {
  switch (channelMode) {
    case fcLeft:
      return 256 * frame[0] - kOffset;
    case fcRight:
      return 256 * frame[1] - kOffset;
    default:
      return 128 * frame[0] + 128 * frame[1] - kOffset;
  }
}

int Stereo16(const uint8_t* frame, int channelMode) {
  switch (channelMode) {
    case fcLeft:
      return Signed16(frame);
    case fcRight:
      return Signed16(frame + 2);
    default:
      return Signed16(frame) / 2 + Signed16(frame + 2) / 2;
  }
}

}  // namespace

bool CanConvertFrames(int channels, int bitsPerSample) {
  return (channels == 1 || channels == 2) && (bitsPerSample == 8 || bitsPerSample == 16);
}

int ConvertibleFrameBytes(int channels, int bitsPerSample) {
  return CanConvertFrames(channels, bitsPerSample) ? channels * bitsPerSample / 8 : 0;
}

int FrameToWord(const uint8_t* frame, int channels, int bitsPerSample, int channelMode) {
  if (!CanConvertFrames(channels, bitsPerSample)) return 0;
  if (channels == 1) return bitsPerSample == 8 ? 256 * frame[0] - kOffset : Unsigned16(frame);
  return bitsPerSample == 8 ? Stereo8(frame, channelMode) : Stereo16(frame, channelMode);
}

}  // namespace kelvora::transfer
