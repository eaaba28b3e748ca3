#pragma once

#include <sndfile.h>

#include <memory>
#include <string>
#include <vector>

#include "transfer/DownloadWriter.h"
#include "transfer/Resampler.h"
#include "transfer/TpdfQuantizer.h"

namespace kelvora::transfer {

// A download written by libsndfile: 16-bit FLAC, AIFF or WAV, at the sampler's rate (rounded to
// whole Hz) or converted by libsoxr to 44100 or 48000 Hz and dithered back to 16 bits. The loop
// and root key go into the format's instrument data where libsndfile writes it (WAV smpl).
class SoundFileDownloadWriter : public DownloadWriter {
 public:
  SoundFileDownloadWriter(std::string path, const DownloadFormat& format);
  ~SoundFileDownloadWriter() override;
  SoundFileDownloadWriter(const SoundFileDownloadWriter&) = delete;
  SoundFileDownloadWriter& operator=(const SoundFileDownloadWriter&) = delete;

  // Creates the file for a wavesample of these facts; false when it cannot be created.
  bool Create(const WavesampleFacts& facts);
  bool Begin(const WavesampleFacts& facts) override;
  bool Write(const int* words, int count) override;
  bool Finish(int64_t written) override;

 private:
  bool WriteSamples(const float* samples, size_t count);
  bool Drain(const float* input, size_t count);
  void SetInstrument(const WavesampleFacts& facts, double ratio);

  std::string path_;
  DownloadFormat format_;
  int rate_ = 0;
  SNDFILE* file_ = nullptr;
  std::unique_ptr<Resampler> resampler_;
  TpdfQuantizer quantizer_{16};
  std::vector<float> input_;
  std::vector<float> output_;
  std::vector<short> shorts_;
};

}  // namespace kelvora::transfer
