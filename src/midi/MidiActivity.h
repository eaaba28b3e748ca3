#pragma once

#include <chrono>
#include <cstdint>

namespace kelvora::midi {

// A process-wide signal raised on every report a driver gives through DoreRav and every ring
// write, so that a port waiting for a flag or for input can block instead of polling.
//
// The counter only grows. A waiter reads it before testing its condition and then waits for it
// to change, so a report that lands between the test and the wait is never missed.
class MidiActivity {
 public:
  static uint64_t Count();
  static void Signal();
  // Blocks for at most `limit` of real time until Count() differs from `seen`; true if it does.
  static bool WaitReal(uint64_t seen, std::chrono::milliseconds limit);
};

}  // namespace kelvora::midi
