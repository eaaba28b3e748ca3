#include "support/FakeClock.h"

#include "midi/MidiActivity.h"

namespace kelvora::testing {

using midi::MidiActivity;

FakeClock::FakeClock(uint32_t start) : now_(start) {}

uint32_t FakeClock::Now() { return now_.load(); }

void FakeClock::Sleep(uint32_t ms) { Advance(ms); }

bool FakeClock::WaitForActivity(uint64_t seen, uint32_t ms) {
  if (MidiActivity::WaitReal(seen, std::chrono::milliseconds(settleMs_.load()))) return true;
  Advance(ms);
  return MidiActivity::Count() != seen;
}

void FakeClock::Advance(uint32_t ms) {
  const uint32_t now = now_.fetch_add(ms) + ms;
  std::function<void(uint32_t)> hook;
  {
    std::lock_guard lock(hookMutex_);
    hook = onAdvance_;
  }
  if (hook) hook(now);
}

void FakeClock::SetOnAdvance(std::function<void(uint32_t now)> hook) {
  std::lock_guard lock(hookMutex_);
  onAdvance_ = std::move(hook);
}

void FakeClock::SetSettleTime(std::chrono::milliseconds settle) { settleMs_.store(settle.count()); }

}  // namespace kelvora::testing
