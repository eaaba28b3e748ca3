#include "transfer/Progress.h"

namespace kelvora::transfer {

TimeLeft TimeLeftEstimate(uint32_t elapsedMs, int64_t done, int64_t total) {
  if (done <= 0 || total <= 0) return {};
  const double elapsed = elapsedMs;
  const double remaining =
      elapsed * static_cast<double>(total) / static_cast<double>(done) - elapsed;
  TimeLeft estimate;
  estimate.secondsLeft = static_cast<float>((remaining + 999) * 0.001);
  estimate.percent =
      static_cast<float>(static_cast<uint64_t>(done) * 100 / static_cast<uint64_t>(total));
  return estimate;
}

}  // namespace kelvora::transfer
