#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>

#include "midi/Clock.h"

namespace kelvora::testing {

// Virtual time for tests. Sleep advances it at once. A wait for MIDI activity first waits a
// short real settle time, because peers (the loopback, the simulated sampler) answer from real
// threads; only when nothing happened in that time does it advance virtual time by the whole
// remaining limit, so a 20-second time-out costs one settle time. Install it with ScopedClock.
class FakeClock : public midi::Clock {
 public:
  explicit FakeClock(uint32_t start = 0);

  uint32_t Now() override;
  void Sleep(uint32_t ms) override;
  bool WaitForActivity(uint64_t seen, uint32_t ms) override;

  // Moves virtual time forward and then calls the hook with the new time.
  void Advance(uint32_t ms);
  void SetOnAdvance(std::function<void(uint32_t now)> hook);
  void SetSettleTime(std::chrono::milliseconds settle);

 private:
  std::atomic<uint32_t> now_;
  std::atomic<int64_t> settleMs_{100};
  std::mutex hookMutex_;
  std::function<void(uint32_t)> onAdvance_;
};

}  // namespace kelvora::testing
