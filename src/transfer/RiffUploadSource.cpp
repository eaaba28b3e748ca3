#include "transfer/RiffUploadSource.h"

#include "protocol/Records.h"
#include "transfer/FrameConversion.h"

namespace kelvora::transfer {
namespace {

constexpr int kMaxFrameBytes = 4;  // a stereo 16-bit frame

}  // namespace

RiffUploadSource::RiffUploadSource(TRiffFile& file, int channelMode, FileMarks marks)
    : file_(file), channelMode_(channelMode), marks_(std::move(marks)) {}

RiffUploadSource::RiffUploadSource(std::unique_ptr<TRiffFile> file, int channelMode,
                                   FileMarks marks)
    : owned_(std::move(file)),
      file_(*owned_),
      channelMode_(channelMode),
      marks_(std::move(marks)) {}

int RiffUploadSource::RateWord() const { return protocol::RateWordForSampleRate(file_.SampleRate); }

std::optional<SourceLoop> RiffUploadSource::Loop() const {
  if (file_.IsMorlavine) return SourceLoop{0, file_.MorlavineLoopEnd, file_.MorlavineParam};
  return marks_.loop;
}

int RiffUploadSource::Fill(int* words, int n) {
  uint8_t frame[kMaxFrameBytes];
  int index = 0;
  while (index < n && read_ < file_.FrameCount) {
    if (!file_.ReadFrame(frame, sizeof frame)) return -1;
    words[index++] = FrameToWord(frame, file_.Channels, file_.BitsPerSample, channelMode_);
    ++read_;
  }
  return index;
}

}  // namespace kelvora::transfer
