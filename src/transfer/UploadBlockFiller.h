#pragma once

#include <cstdint>

#include "transfer/UploadSource.h"

namespace kelvora::transfer {

// Turns what an upload source gives into upload blocks, in order. After the last frame come two
// silent words, which the upload sends beyond the sample end.
class UploadBlockFiller {
 public:
  static constexpr int kTrailingZeros = 2;

  explicit UploadBlockFiller(UploadSource& source);

  // Fills buffer[0..) with up to blockSize words from where the previous block stopped;
  // returns the count, or -1 when the file cannot be read. 0 once everything went out.
  int Fill(int* buffer, int blockSize);
  // Frames placed in blocks so far, the trailing silent words included.
  int Read() const { return read_; }
  // FrameCount plus the trailing words: the read count after the last block.
  int Total() const { return total_; }
  // Back to the first frame, after the source started again.
  void Restart() { read_ = 0; }

 private:
  UploadSource& source_;
  int read_ = 0;
  int frames_;
  int total_;
};

}  // namespace kelvora::transfer
