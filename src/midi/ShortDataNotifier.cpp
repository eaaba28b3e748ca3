#include "midi/ShortDataNotifier.h"

#include <QMetaObject>

namespace kelvora::midi {

ShortDataNotifier::ShortDataNotifier(std::function<void()> onNotify)
    : onNotify_(std::move(onNotify)) {}

void ShortDataNotifier::Post() {
  if (posted_.exchange(true)) return;
  QMetaObject::invokeMethod(this, &ShortDataNotifier::Deliver, Qt::QueuedConnection);
}

void ShortDataNotifier::Deliver() {
  // Cleared first: a message stored while the receiver runs posts a new call.
  posted_.store(false);
  if (onNotify_) onNotify_();
}

}  // namespace kelvora::midi
