#include "protocol/ActivityWatch.h"

#include <chrono>

#include "midi/MidiActivity.h"

namespace kelvora::protocol {

namespace {

// The wait is bounded only so that a watch being taken down is noticed; the destructor also
// raises the signal, so that normally takes no time at all.
constexpr std::chrono::milliseconds kWaitBound{1000};

}  // namespace

ActivityWatch::ActivityWatch(std::function<void()> onActivity, QObject* parent)
    : QObject(parent), onActivity_(std::move(onActivity)), thread_([this] { Loop(); }) {}

ActivityWatch::~ActivityWatch() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
  }
  armed_.notify_all();
  midi::MidiActivity::Signal();
  thread_.join();
}

void ActivityWatch::Arm(uint64_t seen) {
  {
    std::lock_guard lock(mutex_);
    seen_ = seen;
    isArmed_ = true;
  }
  armed_.notify_all();
}

void ActivityWatch::Disarm() {
  std::lock_guard lock(mutex_);
  isArmed_ = false;
}

void ActivityWatch::Loop() {
  std::unique_lock lock(mutex_);
  while (!quit_) {
    armed_.wait(lock, [this] { return isArmed_ || quit_; });
    if (quit_) break;
    const uint64_t seen = seen_;
    lock.unlock();
    const bool changed = midi::MidiActivity::WaitReal(seen, kWaitBound);
    lock.lock();
    if (!changed || !isArmed_ || seen_ != seen || quit_) continue;
    isArmed_ = false;
    QMetaObject::invokeMethod(this, &ActivityWatch::Deliver, Qt::QueuedConnection);
  }
}

void ActivityWatch::Deliver() {
  if (onActivity_) onActivity_();
}

}  // namespace kelvora::protocol
