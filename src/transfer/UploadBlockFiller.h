#pragma once

#include <cstdint>

#include "transfer/RiffFile.h"

namespace kelvora::transfer {

// Turns the frames of an open WAV file into upload blocks, reading the file sequentially.
// After the last frame come two silent words, which the upload sends beyond the sample end.
class UploadBlockFiller {
 public:
  static constexpr int kTrailingZeros = 2;

  UploadBlockFiller(TRiffFile& file, int channelMode);

  // Fills buffer[0..) with up to blockSize words from where the previous block stopped;
  // returns the count, or -1 when the file cannot be read. 0 once everything went out.
  int Fill(int* buffer, int blockSize);
  // Frames placed in blocks so far, the trailing silent words included.
  int Read() const { return read_; }
  // FrameCount plus the trailing words: the read count after the last block.
  int Total() const { return total_; }

 private:
  TRiffFile& file_;
  int channelMode_;
  int read_ = 0;
  int total_;
};

}  // namespace kelvora::transfer
