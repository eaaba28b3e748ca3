#include "transfer/TpdfQuantizer.h"

#include <algorithm>
#include <cmath>

namespace kelvora::transfer {
namespace {

constexpr uint32_t kSeed = 0x9E3779B9u;

}  // namespace

TpdfQuantizer::TpdfQuantizer(int bits)
    : bits_(bits == 13 ? 13 : 16), step_(1 << (16 - bits_)), state_(kSeed) {}

void TpdfQuantizer::Reset() { state_ = kSeed; }

int TpdfQuantizer::Quantize(double value) {
  const double steps = value / step_;
  double level = std::nearbyint(steps);
  if (level != steps) {
    const double up = Uniform();
    const double down = Uniform();
    level = std::nearbyint(steps + up - down);
  }
  const double top = 32768.0 / step_ - 1;
  const double bottom = -32768.0 / step_;
  // NaN, from a damaged float file, compares false and lands on silence.
  if (!(level >= bottom)) level = std::isnan(level) ? 0 : bottom;
  level = std::min(level, top);
  return static_cast<int>(level) * step_;
}

// xorshift32: fast, and plenty for dither noise.
double TpdfQuantizer::Uniform() {
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return state_ * (1.0 / 4294967296.0);
}

}  // namespace kelvora::transfer
