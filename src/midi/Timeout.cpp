#include "midi/Timeout.h"

namespace kelvora::midi {

void TTimeout::Start(int seconds) { StartMs(1000u * static_cast<uint32_t>(seconds)); }

void TTimeout::StartMs(uint32_t ms) {
  deadline_ = TickCount() + ms;
  timedOut_ = false;
}

bool TTimeout::Check() {
  timedOut_ = TickCount() > deadline_;
  return timedOut_;
}

void TTimeout::BlockForActivity(uint64_t seen) {
  Clock& clock = CurrentClock();
  const uint32_t now = clock.Now();
  if (now > deadline_) return;  // passed since Check(); the next Check() ends the wait
  // One millisecond past the deadline is the first tick at which Check() turns true.
  clock.WaitForActivity(seen, deadline_ - now + 1);
}

}  // namespace kelvora::midi
