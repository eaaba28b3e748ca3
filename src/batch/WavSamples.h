#pragma once

#include <cstdint>
#include <string>

#include "transfer/RiffFile.h"

namespace kelvora::batch {

// The samples of a WAV file in a backup folder: mono 16-bit PCM as the download writes it,
// read in blocks. Anything else (another layout, a data chunk cut short) is refused, so a
// damaged file is never sent to the sampler as if it were whole.
class WavSamples {
 public:
  // False with a sentence naming the file when it cannot be read as such a file.
  bool Open(const std::string& path, std::string& failure);
  int64_t Count() const { return count_; }
  int Rate() const { return file_.SampleRate; }
  // Up to `max` samples into `out`; the number read, 0 at the end or when the file fails.
  int Read(int16_t* out, int max);
  // Whether a read stopped before the end of the samples the header announced.
  bool Failed() const { return failed_; }

 private:
  transfer::TRiffFile file_;
  int64_t count_ = 0;
  int64_t left_ = 0;
  bool failed_ = false;
};

// SHA-256 (lower-case hex) of a backup WAV's samples as 16-bit little-endian words, and their
// count; false with a sentence when the file cannot be read whole.
bool HashSamples(const std::string& path, std::string& sha256, int64_t& count,
                 std::string& failure);

}  // namespace kelvora::batch
