#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

namespace kelvora::transfer {

// Reads `count` bytes at `offset` into `buffer`; false when they are not all there.
using ByteReader = std::function<bool(uint64_t offset, void* buffer, size_t count)>;

// What a RIFF WAVE file's own chunks say that libsndfile does not tell: its Morlavine chunk
// (counted, as the WAV reader counts it, only after the format chunk) and whether its data
// chunk announces more bytes than the file holds.
struct RiffFacts {
  bool riff = false;
  std::optional<int> morlavineLoopEnd;
  int morlavineParam = 0;
  bool cutShort = false;
};

// Walks the chunks of a file of `size` bytes up to its data chunk. Anything that is not a RIFF
// WAVE file gives riff false and nothing else.
RiffFacts ScanRiff(const ByteReader& read, uint64_t size);

}  // namespace kelvora::transfer
