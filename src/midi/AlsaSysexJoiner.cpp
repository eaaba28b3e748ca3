#include "midi/AlsaSysexJoiner.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace kelvora::midi {

namespace {
constexpr uint8_t kEndOfExclusive = 0xF7;
}

AlsaSysexJoiner::AlsaSysexJoiner(Sink sink, size_t capacity)
    : sink_(std::move(sink)), buffer_(std::max<size_t>(capacity, 1)) {}

void AlsaSysexJoiner::Add(const uint8_t* data, size_t length) {
  if (length == 0) return;
  const bool endsMessage = data[length - 1] == kEndOfExclusive;
  while (length > 0) {
    const size_t take = std::min(length, buffer_.size() - used_);
    std::memcpy(buffer_.data() + used_, data, take);
    used_ += take;
    data += take;
    length -= take;
    if (used_ == buffer_.size()) Flush();
  }
  if (endsMessage) Flush();
}

void AlsaSysexJoiner::Flush() {
  if (used_ == 0) return;
  const size_t length = used_;
  used_ = 0;
  if (sink_) sink_(buffer_.data(), length);
}

void AlsaSysexJoiner::Clear() { used_ = 0; }

}  // namespace kelvora::midi
