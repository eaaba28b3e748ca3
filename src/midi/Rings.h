#pragma once

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace kelvora::midi {

// A single-producer, single-consumer ring of 32768 entries followed by three little-endian
// 32-bit counters. DoreRav (the driver's thread) is the only writer: it fills entries, then
// advances WriteIndex and raises Count. The port is the only reader: it takes entries, then
// advances ReadIndex and lowers Count. Count is the one word both change, always atomically,
// and an entry is complete before Count rises.
template <class Entry>
struct Ring {
  static constexpr uint32_t kCapacity = 32768;

  Entry Data[kCapacity];
  uint32_t ReadIndex;
  uint32_t WriteIndex;
  std::atomic<int32_t> Count;

  // Producer: stores as many of `n` entries as fit, in order; returns how many.
  size_t Append(const Entry* entries, size_t n) {
    const size_t room = kCapacity - static_cast<size_t>(Count.load(std::memory_order_acquire));
    const size_t stored = std::min(n, room);
    if (stored == 0) return 0;
    const size_t first = std::min<size_t>(stored, kCapacity - WriteIndex);
    std::memcpy(Data + WriteIndex, entries, first * sizeof(Entry));
    std::memcpy(Data, entries + first, (stored - first) * sizeof(Entry));
    WriteIndex = static_cast<uint32_t>((WriteIndex + stored) % kCapacity);
    Count.fetch_add(static_cast<int32_t>(stored), std::memory_order_release);
    return stored;
  }

  // Before the ring is shared: empty. The entries are left as they are, since none is read
  // before the producer has written it, which spares zeroing the whole ring on every open.
  void Reset() {
    ReadIndex = 0;
    WriteIndex = 0;
    Count.store(0, std::memory_order_relaxed);
  }

  // Consumer: the oldest entry, if any.
  bool Take(Entry& entry) {
    if (Count.load(std::memory_order_acquire) == 0) return false;
    entry = Data[ReadIndex];
    ReadIndex = (ReadIndex + 1) % kCapacity;
    Count.fetch_sub(1, std::memory_order_release);
    return true;
  }

  // Consumer: the oldest entry, if any, left in the ring.
  bool Peek(Entry& entry) const {
    if (Count.load(std::memory_order_acquire) == 0) return false;
    entry = Data[ReadIndex];
    return true;
  }

  // Consumer: drops everything waiting. The reader never touches WriteIndex, so this is safe
  // while the driver keeps writing; whatever arrives afterwards stays.
  void Discard() {
    const int32_t waiting = Count.load(std::memory_order_acquire);
    ReadIndex = static_cast<uint32_t>((ReadIndex + static_cast<uint32_t>(waiting)) % kCapacity);
    Count.fetch_sub(waiting, std::memory_order_release);
  }
};

// SysEx bytes in arrival order: 32780 bytes.
struct ByteRing : Ring<uint8_t> {};
// Packed short messages (status in bits 0-7, data 1 in bits 8-15, data 2 in bits 16-23):
// 131084 bytes.
struct ShortRing : Ring<uint32_t> {};

static_assert(std::endian::native == std::endian::little, "the rings' counters are little-endian");
static_assert(std::atomic<int32_t>::is_always_lock_free && sizeof(std::atomic<int32_t>) == 4);
static_assert(std::is_standard_layout_v<ByteRing> && std::is_standard_layout_v<ShortRing>);
static_assert(sizeof(ByteRing) == 32780 && sizeof(ShortRing) == 131084);
static_assert(offsetof(ByteRing, ReadIndex) == 32768 && offsetof(ByteRing, WriteIndex) == 32772 &&
              offsetof(ByteRing, Count) == 32776);
static_assert(offsetof(ShortRing, ReadIndex) == 131072 &&
              offsetof(ShortRing, WriteIndex) == 131076 && offsetof(ShortRing, Count) == 131080);

}  // namespace kelvora::midi
