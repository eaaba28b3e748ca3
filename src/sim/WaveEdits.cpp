#include "sim/WaveEdits.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kelvora::sim {

namespace {

constexpr double kFullScale = 32767.0;

// Ramp position of the sample at offset i of an n-sample range, bent by the depth curve.
double RampPosition(size_t i, size_t n, double exponent) {
  return std::pow(static_cast<double>(i) / static_cast<double>(n), exponent);
}

}  // namespace

double WaveEdits::GainOfLevel(int value) {
  const int level = (value & 0x7F) + 128 * ((value >> 8) & 0xFF);
  return level / 128.0;
}

double WaveEdits::CurveExponent(int depth) {
  const double decibels = 3.0 + 0.5 * std::clamp(depth, 0, kMaxDepth);
  return decibels / (20.0 * std::log10(2.0));
}

int16_t WaveEdits::Apply(int16_t sample, double gain) const {
  return StoredSample(model_, static_cast<int>(std::lround(sample * gain)));
}

void WaveEdits::Clear(WaveData& data, size_t start, size_t end) const {
  std::fill(data.begin() + start, data.begin() + end, 0);
}

void WaveEdits::Reverse(WaveData& data, size_t start, size_t end) const {
  std::reverse(data.begin() + start, data.begin() + end);
}

void WaveEdits::Scale(WaveData& data, size_t start, size_t end, int startLevel, int endLevel,
                      int depth) const {
  const double first = GainOfLevel(startLevel);
  const double last = GainOfLevel(endLevel);
  const double exponent = CurveExponent(depth);
  const size_t n = end - start;
  for (size_t i = 0; i < n; ++i) {
    const double gain = first + (last - first) * RampPosition(i, n, exponent);
    data[start + i] = Apply(data[start + i], gain);
  }
}

void WaveEdits::FadeIn(WaveData& data, size_t start, size_t end, int depth) const {
  const double exponent = CurveExponent(depth);
  const size_t n = end - start;
  for (size_t i = 0; i < n; ++i) {
    data[start + i] = Apply(data[start + i], RampPosition(i, n, exponent));
  }
}

void WaveEdits::FadeOut(WaveData& data, size_t start, size_t end, int depth) const {
  const double exponent = CurveExponent(depth);
  const size_t n = end - start;
  for (size_t i = 0; i < n; ++i) {
    data[start + i] = Apply(data[start + i], RampPosition(n - 1 - i, n, exponent));
  }
}

void WaveEdits::Normalize(WaveData& data) const {
  int peak = 0;
  for (int16_t sample : data) peak = std::max(peak, std::abs(static_cast<int>(sample)));
  if (peak == 0) return;
  const double gain = kFullScale / peak;
  for (int16_t& sample : data) sample = Apply(sample, gain);
}

void WaveEdits::Copy(const WaveData& source, size_t start, size_t end, WaveData& destination,
                     size_t position) const {
  const WaveData block(source.begin() + start, source.begin() + end);
  std::copy(block.begin(), block.end(), destination.begin() + position);
}

}  // namespace kelvora::sim
