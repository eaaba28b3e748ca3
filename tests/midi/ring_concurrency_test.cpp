#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "midi/DoreRav.h"
#include "midi/Midiin.h"

namespace kelvora::midi {
namespace {

uint8_t Pattern(size_t i) { return static_cast<uint8_t>((i * 2654435761u) >> 11); }

// The driver's side: fragments of changing size, straight into DoreRav's handler.
void Produce(int slot, size_t total, TMidiIn* flowControl) {
  std::vector<uint8_t> fragment;
  for (size_t sent = 0, round = 0; sent < total; ++round) {
    const size_t length = std::min<size_t>(1 + (round * 37) % 300, total - sent);
    while (flowControl && flowControl->BytesAvailable() + length > 32768) {
      std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    fragment.resize(length);
    for (size_t i = 0; i < length; ++i) fragment[i] = Pattern(sent + i);
    DoreRav::MidiInHandler(slot, InEvent::LongData, fragment.data(), fragment.size());
    sent += length;
  }
}

TEST(RingConcurrencyTest, AProducerThreadAndReadByteAgreeOnEveryByte) {
  TMidiIn port;
  constexpr size_t kTotal = 600000;  // the ring wraps about 18 times
  std::thread producer(Produce, port.Slot(), kTotal, &port);
  for (size_t i = 0; i < kTotal; ++i) {
    uint8_t b = 0;
    ASSERT_TRUE(port.ReadByte(b)) << "byte " << i;
    ASSERT_EQ(b, Pattern(i)) << "byte " << i;
  }
  producer.join();
  EXPECT_EQ(port.DroppedBytes(), 0u);
  EXPECT_EQ(port.BytesAvailable(), 0u);
}

// A wait for a block, woken only by the write that completes it, sees that write however the
// fragments race with it: a missed wake-up would hold the wait to its limit.
TEST(RingConcurrencyTest, AWaitForABlockEndsWhenItsLastFragmentArrives) {
  TMidiIn port;
  constexpr uint32_t kLimitMs = 10000;
  for (size_t block = 1; block <= 30725; block += 997) {
    std::thread producer(Produce, port.Slot(), block, nullptr);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(port.WaitForBytes(static_cast<unsigned>(block), kLimitMs));
    const auto waited = std::chrono::steady_clock::now() - start;
    producer.join();
    ASSERT_LT(waited, std::chrono::milliseconds(kLimitMs / 2)) << block << " bytes";
    ASSERT_EQ(port.BytesAvailable(), block);
    port.Flush();
  }
}

TEST(RingConcurrencyTest, AnOverflowingProducerLosesBytesButNeverCorruptsThem) {
  TMidiIn port;
  constexpr size_t kTotal = 400000;
  std::thread producer(Produce, port.Slot(), kTotal, nullptr);
  // Slower than the producer; what is read must be an ordered subsequence of what was sent.
  size_t read = 0;
  size_t position = 0;
  uint8_t b = 0;
  auto readOne = [&] {
    ++read;
    while (position < kTotal && Pattern(position) != b) ++position;
    ASSERT_LT(position, kTotal) << "a byte that was never sent, read " << read;
    ++position;
  };
  while (port.WaitForBytes(1, 200)) {
    ASSERT_TRUE(port.ReadByte(b));
    readOne();
    if (read % 1024 == 0) std::this_thread::yield();
  }
  producer.join();
  while (port.BytesAvailable() > 0 && port.ReadByte(b)) readOne();
  EXPECT_EQ(read + port.DroppedBytes(), kTotal);
}

}  // namespace
}  // namespace kelvora::midi
