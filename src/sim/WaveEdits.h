#pragma once

#include <cstddef>

#include "sim/SamplerMemory.h"

namespace kelvora::sim {

// The sampler's processing of sample data. Every range is [start, end) and already checked
// against the data; results are rounded, saturated and stored as the model stores samples.
//
// Levels (SCALE) are 16-bit fixed point, an 8-bit integer and a 7-bit fraction:
// L = (value & 0x7F) + 128 x (value >> 8), gain L / 128, so 0x0100 is 1.0 and 0xFF7F 255.99.
//
// Depth (SCALE, FADE IN, FADE OUT) 0..6 stands for 3.0..6.0 dB in 0.5 dB steps: how far below
// full the curve is halfway through the range. The ramp position x (0 at start, rising by 1/n
// per sample of an n-sample range) is bent to x^k with 0.5^k equal to that attenuation, so
// depth 6 (6 dB) is a straight line in amplitude and depth 0 (3 dB) is close to equal power.
class WaveEdits {
 public:
  explicit WaveEdits(SamplerModel model) : model_(model) {}

  static constexpr int kMaxDepth = 6;

  void Clear(WaveData& data, size_t start, size_t end) const;
  void Reverse(WaveData& data, size_t start, size_t end) const;
  // A ramp of gain from startLevel at start to endLevel at end.
  void Scale(WaveData& data, size_t start, size_t end, int startLevel, int endLevel,
             int depth) const;
  // Gain rising from 0 at start towards 1 at end, and its mirror image.
  void FadeIn(WaveData& data, size_t start, size_t end, int depth) const;
  void FadeOut(WaveData& data, size_t start, size_t end, int depth) const;
  // Scales the whole data so that its peak reaches full scale; silence stays silence.
  void Normalize(WaveData& data) const;
  // Writes source[start, end) at position; destination must already be long enough. The source
  // range is read completely first, so the ranges may overlap (even within the same data).
  void Copy(const WaveData& source, size_t start, size_t end, WaveData& destination,
            size_t position) const;

  static double GainOfLevel(int value);
  static double CurveExponent(int depth);

 private:
  int16_t Apply(int16_t sample, double gain) const;

  SamplerModel model_;
};

}  // namespace kelvora::sim
