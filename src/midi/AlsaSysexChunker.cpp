#include "midi/AlsaSysexChunker.h"

#include <algorithm>

namespace kelvora::midi {

size_t AlsaSysexChunker::NextLength(const uint8_t* data, size_t length, size_t maxEvent) {
  const size_t limit = std::min(length, std::max<size_t>(maxEvent, 1));
  const uint8_t* end = std::find(data, data + limit, kEndOfExclusive);
  return end == data + limit ? limit : static_cast<size_t>(end - data) + 1;
}

size_t AlsaSysexChunker::EventCount(const uint8_t* data, size_t length, size_t maxEvent) {
  size_t events = 0;
  for (size_t offset = 0; offset < length; ++events) {
    offset += NextLength(data + offset, length - offset, maxEvent);
  }
  return events;
}

}  // namespace kelvora::midi
