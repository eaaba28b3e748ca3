#pragma once

#include <QObject>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace kelvora::protocol {

// Wakes the user-interface thread when MIDI input arrives, so that it can read a reply as soon
// as it is there without waiting for it: a thread of its own blocks on the MIDI activity signal
// and queues one call of `onActivity` on the thread that created the watch, from that thread's
// event loop. Arm with the activity count read before the input was found short; a report that
// lands in between is then not missed.
class ActivityWatch : public QObject {
 public:
  explicit ActivityWatch(std::function<void()> onActivity, QObject* parent = nullptr);
  ~ActivityWatch() override;

  void Arm(uint64_t seen);
  void Disarm();

 private:
  void Loop();
  void Deliver();

  std::function<void()> onActivity_;
  std::mutex mutex_;
  std::condition_variable armed_;
  bool isArmed_ = false;
  bool quit_ = false;
  uint64_t seen_ = 0;
  std::thread thread_;
};

}  // namespace kelvora::protocol
