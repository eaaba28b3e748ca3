#pragma once

#include "midi/Clock.h"

namespace kelvora::testing {

// Installs a clock for the whole process while it lives and puts back the one that was
// installed before, however the scope is left (an ASSERT, an exception, the end of a test).
class ScopedClock {
 public:
  explicit ScopedClock(midi::Clock& clock);
  ~ScopedClock();
  ScopedClock(const ScopedClock&) = delete;
  ScopedClock& operator=(const ScopedClock&) = delete;

 private:
  midi::Clock& previous_;
};

}  // namespace kelvora::testing
