#include "midi/MidiActivity.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace kelvora::midi {
namespace {

std::atomic<uint64_t> activityCount{0};
// Signal() only takes the mutex when someone waits: a driver thread reporting input on every
// fragment must not pay for a lock nobody needs.
std::atomic<int> waiters{0};
std::mutex waitMutex;
std::condition_variable waitCondition;

}  // namespace

uint64_t MidiActivity::Count() { return activityCount.load(); }

void MidiActivity::Signal() {
  activityCount.fetch_add(1);
  if (waiters.load() > 0) {
    std::lock_guard lock(waitMutex);
    waitCondition.notify_all();
  }
}

bool MidiActivity::WaitReal(uint64_t seen, std::chrono::milliseconds limit) {
  waiters.fetch_add(1);
  bool changed;
  {
    std::unique_lock lock(waitMutex);
    changed = waitCondition.wait_for(lock, limit, [seen] { return activityCount.load() != seen; });
  }
  waiters.fetch_sub(1);
  return changed;
}

}  // namespace kelvora::midi
