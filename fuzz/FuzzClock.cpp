#include "FuzzClock.h"

#include "midi/MidiActivity.h"

namespace kelvora::fuzz {

bool FuzzClock::WaitForActivity(uint64_t seen, uint32_t ms) {
  if (midi::MidiActivity::Count() != seen) return true;
  now_ += ms;
  return false;
}

}  // namespace kelvora::fuzz
