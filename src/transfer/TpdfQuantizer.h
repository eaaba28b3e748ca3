#pragma once

#include <cstdint>

namespace kelvora::transfer {

// Rounds samples to the sampler's word length with triangular (TPDF) dither of one step either
// side, so the rounding error is noise rather than distortion that follows the signal. A value
// already on the grid passes unchanged: a 16-bit file that needs no other change keeps its words.
// The noise is a fixed pseudo-random sequence, so converting a file twice gives the same words.
class TpdfQuantizer {
 public:
  // bits: 16, or 13 for the original EPS, whose words keep their low 3 bits zero.
  explicit TpdfQuantizer(int bits);

  int Bits() const { return bits_; }
  // value in 16-bit steps (full scale +-32768); the result is a signed 16-bit sample, a multiple
  // of the step, within one and a half steps of the value unless the value is beyond full scale.
  int Quantize(double value);
  // Starts the noise sequence again.
  void Reset();

 private:
  double Uniform();

  int bits_;
  int step_;
  uint32_t state_;
};

}  // namespace kelvora::transfer
