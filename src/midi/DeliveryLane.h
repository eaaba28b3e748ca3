#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace kelvora::midi {

// One direction of the loopback cable: a thread that runs queued deliveries in order and can
// pace them at a wire rate.
class DeliveryLane {
 public:
  // Counts work queued on any lane sharing it; work a task queues while it runs is counted
  // before the task itself is done, so the count only reaches zero when all is delivered.
  class Tracker {
   public:
    void Add();
    void Done();
    void WaitZero();

   private:
    std::mutex mutex_;
    std::condition_variable zero_;
    size_t pending_ = 0;
  };

  explicit DeliveryLane(Tracker& tracker);
  ~DeliveryLane();
  DeliveryLane(const DeliveryLane&) = delete;
  DeliveryLane& operator=(const DeliveryLane&) = delete;

  // Ends the thread once the running task returns; queued tasks are dropped.
  void Stop();
  void Post(std::function<void()> task);

  // On the lane's thread: returns once `bytes` more bytes have crossed a wire of
  // `bytesPerSecond` (0: at once), continuing where the previous bytes left the wire.
  // false when the lane is stopping: the task should give up.
  bool Pace(size_t bytes, unsigned bytesPerSecond);

 private:
  void Run();

  Tracker& tracker_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> queue_;
  bool stopping_ = false;
  std::chrono::steady_clock::time_point wireFree_{};
  std::thread thread_;
};

}  // namespace kelvora::midi
