#pragma once

#include <soxr.h>

#include <cstddef>
#include <string>

namespace kelvora::transfer {

// One mono stream from one rate to another through libsoxr at its very-high quality, in pieces
// of any size. The output keeps the input's timing: no delay, no pitch change.
class Resampler {
 public:
  Resampler(double inputRate, double outputRate);
  ~Resampler();
  Resampler(const Resampler&) = delete;
  Resampler& operator=(const Resampler&) = delete;

  // Empty when the resampler was made; otherwise libsoxr's reason.
  const std::string& Error() const { return error_; }
  // Takes up to inputCount samples (used tells how many) and writes up to capacity samples.
  // Returns the count written; input nullptr means the input has ended, and repeated calls then
  // give the rest until they return 0. -1 on a libsoxr error.
  long Process(const float* input, size_t inputCount, size_t& used, float* output, size_t capacity);
  // Forgets everything taken so far, to start the stream again.
  void Clear();

 private:
  soxr_t soxr_ = nullptr;
  std::string error_;
};

}  // namespace kelvora::transfer
