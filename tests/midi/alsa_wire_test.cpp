// Outgoing SysEx chunking, wire pacing and incoming fragment joining.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <vector>

#include "midi/AlsaSysexChunker.h"
#include "midi/AlsaSysexJoiner.h"
#include "midi/AlsaWirePacer.h"

namespace kelvora::midi {
namespace {

using Bytes = std::vector<uint8_t>;
using namespace std::chrono_literals;

Bytes Sysex(size_t length) {  // F0, 7-bit data, F7
  Bytes bytes(length);
  for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<uint8_t>(i % 0x80);
  bytes.front() = 0xF0;
  bytes.back() = 0xF7;
  return bytes;
}

std::vector<Bytes> Chunks(const Bytes& data, size_t maxEvent = AlsaSysexChunker::kMaxEvent) {
  std::vector<Bytes> chunks;
  for (size_t at = 0; at < data.size();) {
    const size_t n = AlsaSysexChunker::NextLength(data.data() + at, data.size() - at, maxEvent);
    chunks.emplace_back(data.begin() + at, data.begin() + at + n);
    at += n;
  }
  return chunks;
}

TEST(AlsaSysexChunker, CutsALargeMessageIntoEventsOfAtMost256BytesInOrder) {
  const Bytes message = Sysex(32768);
  const auto chunks = Chunks(message);
  ASSERT_EQ(chunks.size(), 128u);
  EXPECT_EQ(chunks.front().front(), 0xF0);
  EXPECT_EQ(chunks.back().back(), 0xF7);
  Bytes joined;
  for (const Bytes& chunk : chunks) {
    EXPECT_EQ(chunk.size(), 256u);
    joined.insert(joined.end(), chunk.begin(), chunk.end());
  }
  EXPECT_EQ(joined, message);
  EXPECT_EQ(AlsaSysexChunker::EventCount(message.data(), message.size()), 128u);
}

TEST(AlsaSysexChunker, OddLengthsAndContinuationsAreCutBySizeOnly) {
  EXPECT_EQ(AlsaSysexChunker::NextLength(nullptr, 0), 0u);
  const auto chunks = Chunks(Sysex(257));
  ASSERT_EQ(chunks.size(), 2u);
  EXPECT_EQ(chunks[1], Bytes{0xF7});  // the lone End of Exclusive still goes out
  const Bytes middle(600, 0x11);      // the middle of a message longer than one buffer
  EXPECT_EQ(Chunks(middle).back().size(), 88u);
  EXPECT_EQ(Chunks(middle, 0).size(), 600u);  // a zero limit still makes progress
}

TEST(AlsaSysexChunker, NeverRunsAnEventPastAnEndOfExclusive) {
  Bytes two = Sysex(10);
  const Bytes second = Sysex(300);
  two.insert(two.end(), second.begin(), second.end());
  const auto chunks = Chunks(two);
  ASSERT_EQ(chunks.size(), 3u);
  EXPECT_EQ(chunks[0], Sysex(10));
  EXPECT_EQ(chunks[1].front(), 0xF0);
  EXPECT_EQ(chunks[2].back(), 0xF7);
}

const AlsaWirePacer::Clock::time_point t0{1s};

TEST(AlsaWirePacer, KeepsAtMostOneKibibyteAheadOfThe320MicrosecondsPerByteWire) {
  AlsaWirePacer pacer;
  for (int i = 0; i < 4; ++i) {
    ASSERT_EQ(pacer.ReadyAt(256, t0), t0);
    pacer.Sent(256, t0);
  }
  EXPECT_EQ(pacer.BytesAhead(t0), 1024u);
  EXPECT_EQ(pacer.BytesAhead(t0 + 100 * 320us + 1ns), 924u);  // a started byte still counts
  // The fifth event waits until its 256 bytes fit: 256 bytes have left the wire.
  const auto ready = pacer.ReadyAt(256, t0);
  EXPECT_EQ(ready, t0 + 256 * 320us);
  EXPECT_EQ(pacer.ReadyAt(256, ready + 1ms), ready + 1ms);
  EXPECT_EQ(pacer.Sent(256, ready), t0 + 1280 * 320us);
}

TEST(AlsaWirePacer, DoneTimeOfAPacedMessageIsItsLengthOnTheWire) {
  AlsaWirePacer pacer;
  auto now = t0;
  for (int i = 0; i < 128; ++i) {  // 32 KiB, handed over as soon as allowed
    now = pacer.ReadyAt(256, now);
    EXPECT_LE(pacer.BytesAhead(now) + 256, 1024u);
    pacer.Sent(256, now);
  }
  EXPECT_EQ(pacer.WireIdleAt(), t0 + 32768 * 320us);
}

TEST(AlsaWirePacer, WireTimeRestartsAfterAPauseAndOversizedBlocksWaitForIdle) {
  AlsaWirePacer pacer(100us, 300);
  pacer.Sent(10, t0);
  const auto later = t0 + 1s;
  EXPECT_EQ(pacer.Sent(10, later), later + 1ms);  // the idle second is not counted
  EXPECT_EQ(pacer.ReadyAt(500, later), later + 1ms);
  pacer.Reset();
  EXPECT_EQ(pacer.ReadyAt(500, later), later);
}

struct Collected {
  std::vector<Bytes> pieces;
  AlsaSysexJoiner::Sink Sink() {
    return [this](const uint8_t* data, size_t length) { pieces.emplace_back(data, data + length); };
  }
};

TEST(AlsaSysexJoiner, JoinsFragmentsAndHandsAMessageOnWhenItEnds) {
  Collected out;
  AlsaSysexJoiner joiner(out.Sink());
  const Bytes message = Sysex(700);
  for (const Bytes& fragment : Chunks(message)) {
    EXPECT_TRUE(out.pieces.empty());
    joiner.Add(fragment.data(), fragment.size());
  }
  ASSERT_EQ(out.pieces.size(), 1u);
  EXPECT_EQ(out.pieces[0], message);
  EXPECT_EQ(joiner.Pending(), 0u);
}

TEST(AlsaSysexJoiner, HandsOnWhenFullAndOnFlushKeepingOrder) {
  Collected out;
  AlsaSysexJoiner joiner(out.Sink(), 100);
  const Bytes message = Sysex(250);
  const Bytes head(message.begin(), message.begin() + 120);
  const Bytes tail(message.begin() + 120, message.end() - 1);
  joiner.Add(head.data(), head.size());
  joiner.Add(tail.data(), tail.size());
  EXPECT_EQ(joiner.Pending(), 49u);
  joiner.Flush();
  joiner.Flush();  // nothing left: no empty piece
  joiner.Add(&message.back(), 1);
  const Bytes dropped{0xF0, 0x0F};
  joiner.Add(dropped.data(), dropped.size());
  joiner.Clear();
  joiner.Flush();
  Bytes joined;
  for (const Bytes& piece : out.pieces) {
    EXPECT_LE(piece.size(), 100u);
    EXPECT_FALSE(piece.empty());
    joined.insert(joined.end(), piece.begin(), piece.end());
  }
  EXPECT_EQ(out.pieces.size(), 4u);
  EXPECT_EQ(joined, message);
}

}  // namespace
}  // namespace kelvora::midi
