#include "midi/Clock.h"

#include <atomic>
#include <chrono>
#include <thread>

#include "midi/MidiActivity.h"

namespace kelvora::midi {
namespace {

// Milliseconds since the first use of the clock in this process, so the 32-bit tick only
// wraps after the program has run for 49.7 days.
class SteadyClock : public Clock {
 public:
  uint32_t Now() override {
    const auto elapsed = std::chrono::steady_clock::now() - origin_;
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
  }

  void Sleep(uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

  bool WaitForActivity(uint64_t seen, uint32_t ms) override {
    return MidiActivity::WaitReal(seen, std::chrono::milliseconds(ms));
  }

 private:
  const std::chrono::steady_clock::time_point origin_ = std::chrono::steady_clock::now();
};

SteadyClock& Steady() {
  static SteadyClock clock;
  return clock;
}

std::atomic<Clock*> installed{nullptr};

}  // namespace

Clock& CurrentClock() {
  Clock* clock = installed.load(std::memory_order_acquire);
  return clock ? *clock : Steady();
}

void SetClock(Clock* clock) { installed.store(clock, std::memory_order_release); }

uint32_t TickCount() { return CurrentClock().Now(); }

void SleepMs(uint32_t ms) { CurrentClock().Sleep(ms); }

}  // namespace kelvora::midi
