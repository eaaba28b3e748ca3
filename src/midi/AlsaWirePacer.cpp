#include "midi/AlsaWirePacer.h"

#include <algorithm>

namespace kelvora::midi {

AlsaWirePacer::AlsaWirePacer(std::chrono::nanoseconds byteTime, size_t maxAhead)
    : byteTime_(std::max(byteTime, std::chrono::nanoseconds(1))), maxAhead_(maxAhead) {}

AlsaWirePacer::Clock::time_point AlsaWirePacer::ReadyAt(size_t bytes, Clock::time_point now) const {
  if (wireIdle_ <= now) return now;
  const size_t room = bytes >= maxAhead_ ? 0 : maxAhead_ - bytes;
  return std::max(now, wireIdle_ - byteTime_ * static_cast<std::chrono::nanoseconds::rep>(room));
}

AlsaWirePacer::Clock::time_point AlsaWirePacer::Sent(size_t bytes, Clock::time_point at) {
  wireIdle_ =
      std::max(at, wireIdle_) + byteTime_ * static_cast<std::chrono::nanoseconds::rep>(bytes);
  return wireIdle_;
}

size_t AlsaWirePacer::BytesAhead(Clock::time_point now) const {
  if (wireIdle_ <= now) return 0;
  const auto left = wireIdle_ - now;
  return static_cast<size_t>((left + byteTime_ - std::chrono::nanoseconds(1)) / byteTime_);
}

}  // namespace kelvora::midi
