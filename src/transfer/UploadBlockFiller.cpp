#include "transfer/UploadBlockFiller.h"

#include <algorithm>

namespace kelvora::transfer {

UploadBlockFiller::UploadBlockFiller(UploadSource& source)
    : source_(source), frames_(source.FrameCount()), total_(frames_ + kTrailingZeros) {}

// A source that gives nothing before its frame count has run dry: the file changed.
int UploadBlockFiller::Fill(int* buffer, int blockSize) {
  int index = 0;
  while (index < blockSize && read_ < frames_) {
    const int got = source_.Fill(buffer + index, std::min(blockSize - index, frames_ - read_));
    if (got <= 0) return -1;
    index += got;
    read_ += got;
  }
  while (index < blockSize && read_ < total_) {
    buffer[index++] = 0;
    ++read_;
  }
  return index;
}

}  // namespace kelvora::transfer
