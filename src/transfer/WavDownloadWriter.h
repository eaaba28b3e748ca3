#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "transfer/DownloadWriter.h"

namespace kelvora::transfer {

// The specified download file: the 44-byte header of a mono 16-bit PCM WAV file at the rate the
// rate code gives (625000 / n in integer division), the samples, and after them a standard
// `smpl` chunk with the root key, the exact sample period and the loop, so that other programs
// see them while readers that stop at the data chunk read the file as before.
class WavDownloadWriter : public DownloadWriter {
 public:
  // Takes the open stream; it is closed in every case.
  explicit WavDownloadWriter(std::FILE* stream);

  bool Begin(const WavesampleFacts& facts) override;
  bool Write(const int* words, int count) override;
  bool Finish(int64_t written) override;

 private:
  struct Closer {
    void operator()(std::FILE* stream) const { std::fclose(stream); }
  };
  bool WriteSmpl(uint32_t written);

  std::unique_ptr<std::FILE, Closer> stream_;
  WavesampleFacts facts_;
  // One block as it goes to the file: 16-bit little-endian samples.
  uint8_t bytes_[2 * 10240];
};

}  // namespace kelvora::transfer
