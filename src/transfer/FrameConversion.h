#pragma once

#include <cstdint>

// Turning one WAV frame into the word an upload stores for it.
namespace kelvora::transfer {

// Which channel of a stereo file the upload takes; fcChannel takes one channel of a file of any
// count, named by number (see ChannelPick).
enum FrameChannel { fcLeft = 1, fcRight = 2, fcMono = 3, fcChannel = 4 };

// True for the frames FrameToWord converts: 1 or 2 channels of 8 or 16 bits.
bool CanConvertFrames(int channels, int bitsPerSample);
// Bytes of one such frame (the block align the file must have); 0 for any other format.
int ConvertibleFrameBytes(int channels, int bitsPerSample);

// The word stored for one frame (8-bit samples unsigned, 16-bit signed little-endian, left
// channel first):
//   mono 8-bit        256 x b - 32768
//   mono 16-bit       the sample's 16 bits as an unsigned value 0..65535
//   stereo 8-bit      256 x L - 32768, 256 x R - 32768, or 128 x L + 128 x R - 32768 (mono)
//   stereo 16-bit     L, R, or L / 2 + R / 2 (mono), each half truncated toward zero
// Any channelMode other than left or right mixes a stereo frame; mono files ignore it.
// Formats CanConvertFrames refuses give 0.
int FrameToWord(const uint8_t* frame, int channels, int bitsPerSample, int channelMode);

}  // namespace kelvora::transfer
