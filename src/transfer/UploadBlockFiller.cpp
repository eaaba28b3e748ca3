#include "transfer/UploadBlockFiller.h"

#include "transfer/FrameConversion.h"

namespace kelvora::transfer {

namespace {

constexpr int kMaxFrameBytes = 4;  // a stereo 16-bit frame

}  // namespace

UploadBlockFiller::UploadBlockFiller(TRiffFile& file, int channelMode)
    : file_(file), channelMode_(channelMode), total_(file.FrameCount + kTrailingZeros) {}

int UploadBlockFiller::Fill(int* buffer, int blockSize) {
  uint8_t frame[kMaxFrameBytes];
  int index = 0;
  while (index < blockSize && read_ < file_.FrameCount) {
    if (!file_.ReadFrame(frame, sizeof frame)) return -1;
    buffer[index++] = FrameToWord(frame, file_.Channels, file_.BitsPerSample, channelMode_);
    ++read_;
  }
  while (index < blockSize && read_ < total_) {
    buffer[index++] = 0;
    ++read_;
  }
  return index;
}

}  // namespace kelvora::transfer
