#pragma once

#include <QObject>
#include <atomic>
#include <functional>

namespace kelvora::midi {

// The input port's stand-in for a hidden window: DoreRav posts to it from the driver's thread
// after storing a short message, and the call runs later on the thread that created it (the
// user-interface thread) from its event loop, never inside a port's wait.
class ShortDataNotifier : public QObject {
 public:
  explicit ShortDataNotifier(std::function<void()> onNotify);

  // Any thread. Queues one call unless one is already waiting: the receiver drains the whole
  // short-message ring, so one call covers every message stored before it runs.
  void Post();

 private:
  void Deliver();

  std::function<void()> onNotify_;
  std::atomic<bool> posted_{false};
};

}  // namespace kelvora::midi
