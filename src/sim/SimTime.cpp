#include "sim/SimTime.h"

#include <chrono>

namespace kelvora::sim {

namespace {

using Clock = std::chrono::steady_clock;

}  // namespace

int64_t SteadySimTime::NowUs() {
  return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now().time_since_epoch())
      .count();
}

void SteadySimTime::SleepUntilUs(int64_t deadline) {
  const Clock::time_point until{std::chrono::microseconds(deadline)};
  std::unique_lock lock(mutex_);
  wake_.wait_until(lock, until, [this] { return interrupted_; });
}

void SteadySimTime::Interrupt() {
  {
    std::lock_guard lock(mutex_);
    interrupted_ = true;
  }
  wake_.notify_all();
}

}  // namespace kelvora::sim
