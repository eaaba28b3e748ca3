#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace kelvora::sim {

// The time the simulated sampler paces its wire and its processing by, in microseconds. Tests
// give it a virtual time whose sleeps return at once, and check the schedule by arithmetic.
class SimTime {
 public:
  virtual ~SimTime() = default;
  virtual int64_t NowUs() = 0;
  // Returns when NowUs() has reached `deadline`, or earlier after Interrupt().
  virtual void SleepUntilUs(int64_t deadline) = 0;
  // Ends every sleep at once, now and from now on (the sampler is stopping).
  virtual void Interrupt() = 0;
};

// Real time on the steady clock.
class SteadySimTime : public SimTime {
 public:
  int64_t NowUs() override;
  void SleepUntilUs(int64_t deadline) override;
  void Interrupt() override;

 private:
  std::mutex mutex_;
  std::condition_variable wake_;
  bool interrupted_ = false;
};

}  // namespace kelvora::sim
