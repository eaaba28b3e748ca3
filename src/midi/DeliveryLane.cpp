#include "midi/DeliveryLane.h"

#include <algorithm>

namespace kelvora::midi {

void DeliveryLane::Tracker::Add() {
  std::lock_guard lock(mutex_);
  ++pending_;
}

void DeliveryLane::Tracker::Done() {
  std::lock_guard lock(mutex_);
  if (--pending_ == 0) zero_.notify_all();
}

void DeliveryLane::Tracker::WaitZero() {
  std::unique_lock lock(mutex_);
  zero_.wait(lock, [this] { return pending_ == 0; });
}

DeliveryLane::DeliveryLane(Tracker& tracker) : tracker_(tracker) {
  thread_ = std::thread([this] { Run(); });
}

DeliveryLane::~DeliveryLane() { Stop(); }

void DeliveryLane::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
  std::lock_guard lock(mutex_);
  for (; !queue_.empty(); queue_.pop_front()) tracker_.Done();
}

void DeliveryLane::Post(std::function<void()> task) {
  {
    std::lock_guard lock(mutex_);
    if (stopping_) return;
    tracker_.Add();
    queue_.push_back(std::move(task));
  }
  wake_.notify_all();
}

bool DeliveryLane::Pace(size_t bytes, unsigned bytesPerSecond) {
  const auto now = std::chrono::steady_clock::now();
  std::unique_lock lock(mutex_);
  if (bytesPerSecond == 0) {
    wireFree_ = now;
    return !stopping_;
  }
  const auto wireTime = std::chrono::microseconds(bytes * 1'000'000 / bytesPerSecond);
  wireFree_ = std::max(now, wireFree_) +
              std::chrono::duration_cast<std::chrono::steady_clock::duration>(wireTime);
  return !wake_.wait_until(lock, wireFree_, [this] { return stopping_; });
}

void DeliveryLane::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (stopping_) return;
    std::function<void()> task = std::move(queue_.front());
    queue_.pop_front();
    lock.unlock();
    task();
    tracker_.Done();
    lock.lock();
  }
}

}  // namespace kelvora::midi
