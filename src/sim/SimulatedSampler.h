#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim/FaultPlan.h"
#include "sim/SamplerEngine.h"
#include "sim/SamplerLog.h"
#include "sim/SamplerMemory.h"
#include "sim/SimOptions.h"
#include "sim/SimTime.h"

namespace kelvora::sim {

// A simulated EPS/ASR sampler on a thread of its own: what the host sends is queued and handled
// in order, answers go to the output callback from the sampler's thread. Paced, it takes as long
// as a MIDI cable would in each direction, plus the configured processing latencies.
//
// Its memory starts from the state file when one is set and readable, else with the demo content
// (when asked for). A state file that exists but cannot be read is reported by StateError() and
// is never overwritten.
class SimulatedSampler {
 public:
  using Output = std::function<void(const uint8_t* data, size_t size)>;

  // time: nullptr for real time; tests pass a virtual one (not owned).
  SimulatedSampler(const SimOptions& options, Output output, SimTime* time = nullptr);
  ~SimulatedSampler();

  SimulatedSampler(const SimulatedSampler&) = delete;
  SimulatedSampler& operator=(const SimulatedSampler&) = delete;

  void Start();
  // Drops what is still queued, ends the thread and saves the state file when one is set.
  void Stop();

  // Bytes from the host, in any pieces (SysEx fragments, channel messages); any thread.
  void Receive(const uint8_t* data, size_t size);
  // A whole message whose first byte arrived at startTick (ms, on the MIDI clock): what a paced
  // cable delivers once the message has crossed it.
  void ReceiveStartedAt(const uint8_t* data, size_t size, uint32_t startTick);
  // A packed short message: status in bits 0-7, data 1 in 8-15, data 2 in 16-23.
  void ReceiveShort(uint32_t packed);
  // Takes effect after everything received before it.
  void SetFaults(const FaultPlan& plan);

  // True once everything received has been handled and its answers handed on.
  bool WaitIdle(std::chrono::milliseconds limit);

  SamplerLog& Log() { return log_; }
  const SimOptions& Options() const { return options_; }
  std::string StateError() const;
  bool SaveState();

  // Runs f on the memory while the sampler is not using it.
  template <class F>
  auto WithMemory(F f) {
    std::lock_guard lock(memoryMutex_);
    return f(memory_);
  }

 private:
  struct Item {
    std::vector<uint8_t> bytes;
    bool isFaults = false;
    FaultPlan faults;
    int64_t arrivalUs = 0;
    bool dated = false;  // startTick is when the first byte arrived
    uint32_t startTick = 0;
  };

  void LoadInitialMemory();
  void Post(Item item);
  void Run();
  void Process(Item& item);
  void Feed(const uint8_t* data, size_t size);
  void FeedStartedAt(const uint8_t* data, size_t size, uint32_t startTick);
  void TransmitAll(const std::vector<SamplerEngine::Output>& answers);
  void Transmit(const SamplerEngine::Output& message);
  bool Stopping();

  SimOptions options_;
  Output output_;
  std::unique_ptr<SteadySimTime> ownTime_;
  SimTime* time_;
  SamplerLog log_;

  std::mutex memoryMutex_;
  SamplerMemory memory_;
  SamplerEngine engine_;
  std::vector<SamplerEngine::Output> answers_;

  std::mutex queueMutex_;
  std::condition_variable queueChanged_;
  std::deque<Item> queue_;
  bool busy_ = false;
  bool stop_ = false;
  std::thread thread_;

  int64_t inputFreeUs_ = 0;
  int64_t outputFreeUs_ = 0;

  mutable std::mutex stateMutex_;
  std::string stateError_;
  bool saveAllowed_ = true;
};

}  // namespace kelvora::sim
