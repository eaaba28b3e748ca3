#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "transfer/ChannelPick.h"
#include "transfer/Resampler.h"
#include "transfer/SoundFile.h"
#include "transfer/TpdfQuantizer.h"
#include "transfer/UploadSource.h"

namespace kelvora::transfer {

// How the converted path turns a file into words.
struct Conversion {
  ChannelPick pick;
  int rateCode = 1;      // the record's rate code the words are made for
  bool resample = true;  // false: the file's frames as they are, whatever rate they play at
  int bits = 16;         // 16, or 13 for the original EPS
};

// Any file libsndfile reads, streamed block by block: frames are read, one channel is taken
// (or all mixed), resampled by libsoxr to the rate the sampler plays and dithered to the
// sampler's word length. Memory stays the same for a file of any length.
class ConvertedUploadSource : public UploadSource {
 public:
  // `file` is open; `marks` are in its frames and are scaled here. The frame count must have
  // been checked (CountAfterConversion).
  ConvertedUploadSource(std::unique_ptr<SoundFile> file, std::string fileName,
                        const Conversion& conversion, const FileMarks& marks);

  // Frames a file of `frames` frames at fileRate holds after the conversion.
  static int64_t CountAfterConversion(int64_t frames, int fileRate, const Conversion& conversion);

  const std::string& FileName() const override { return fileName_; }
  int FrameCount() const override { return frames_; }
  int RateWord() const override { return conversion_.rateCode << 8; }
  std::optional<SourceLoop> Loop() const override { return loop_; }
  std::optional<int> RootKey() const override { return rootKey_; }
  int Fill(int* words, int n) override;
  int WordBits() const override { return quantizer_.Bits(); }
  bool Restart(int bits) override;
  void Close() override;

 private:
  bool Refill();
  bool ReadChunk();
  int Scaled(int64_t position) const;

  std::unique_ptr<SoundFile> file_;
  std::string fileName_;
  Conversion conversion_;
  double ratio_;  // output frames per input frame
  int frames_;
  std::optional<SourceLoop> loop_;
  std::optional<int> rootKey_;
  std::unique_ptr<Resampler> resampler_;  // none when the rate stays
  TpdfQuantizer quantizer_;

  int chunkFrames_;
  std::vector<float> frameBuffer_;  // interleaved, one chunk
  std::vector<float> picked_;       // one chunk of the chosen channel
  std::vector<float> output_;       // the resampler's output
  size_t pickedAt_ = 0;
  size_t pickedCount_ = 0;
  size_t outputAt_ = 0;
  size_t outputCount_ = 0;
  int64_t framesRead_ = 0;
  bool inputEnded_ = false;
  int emitted_ = 0;
};

}  // namespace kelvora::transfer
