#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "midi/DoreRav.h"
#include "midi/Rings.h"
#include "midi_support.h"

namespace kelvora::midi {
namespace {

// Not a period of the ring size, so a byte landing in the wrong place shows.
uint8_t Pattern(size_t i) { return static_cast<uint8_t>((i * 2654435761u) >> 13); }

std::vector<uint8_t> Bytes(size_t from, size_t count) {
  std::vector<uint8_t> bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = Pattern(from + i);
  return bytes;
}

TEST(RingTest, BytesKeepTheirOrderAcrossTheWrap) {
  auto ring = std::make_unique<ByteRing>();
  size_t written = 0;
  size_t read = 0;
  for (size_t batch : {20000u, 30001u, 32768u, 7u, 25000u}) {
    const std::vector<uint8_t> bytes = Bytes(written, batch);
    ASSERT_EQ(ring->Append(bytes.data(), bytes.size()), batch);
    written += batch;
    ASSERT_EQ(ring->Count.load(), static_cast<int32_t>(batch));
    for (uint8_t b = 0; ring->Take(b); ++read) ASSERT_EQ(b, Pattern(read)) << "byte " << read;
    ASSERT_EQ(read, written);
    EXPECT_LT(ring->ReadIndex, ByteRing::kCapacity);
    EXPECT_EQ(ring->ReadIndex, ring->WriteIndex);
  }
}

TEST(RingTest, ReadIndexReturnsToZeroAfterAFullRound) {
  auto ring = std::make_unique<ByteRing>();
  const std::vector<uint8_t> bytes = Bytes(0, ByteRing::kCapacity);
  ASSERT_EQ(ring->Append(bytes.data(), bytes.size()), bytes.size());
  uint8_t b = 0;
  for (size_t i = 0; i < ByteRing::kCapacity; ++i) ASSERT_TRUE(ring->Take(b));
  EXPECT_EQ(ring->ReadIndex, 0u);
  EXPECT_EQ(ring->WriteIndex, 0u);
  EXPECT_FALSE(ring->Take(b));
}

TEST(RingTest, AResetRingIsEmptyWhateverItsMemoryHeld) {
  auto ring = std::make_unique_for_overwrite<ByteRing>();
  ring->ReadIndex = 31000;
  ring->WriteIndex = 12;
  ring->Count.store(77);
  ring->Reset();
  uint8_t b = 0;
  EXPECT_FALSE(ring->Take(b));
  const std::vector<uint8_t> bytes = Bytes(0, ByteRing::kCapacity);
  EXPECT_EQ(ring->Append(bytes.data(), bytes.size()), bytes.size());  // the whole ring is free
  for (size_t i = 0; i < bytes.size(); ++i) {
    ASSERT_TRUE(ring->Take(b));
    ASSERT_EQ(b, bytes[i]) << "byte " << i;
  }
}

TEST(RingTest, DiscardDropsWhatWaitsAndKeepsWhatFollows) {
  auto ring = std::make_unique<ByteRing>();
  const std::vector<uint8_t> old = Bytes(0, 32000);
  ring->Append(old.data(), old.size());
  ring->Discard();
  EXPECT_EQ(ring->Count.load(), 0);
  const std::vector<uint8_t> fresh = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17};
  std::vector<uint8_t> more(1000, 0x55);
  ring->Append(fresh.data(), fresh.size());
  ring->Append(more.data(), more.size());  // crosses the wrap
  uint8_t b = 0;
  for (uint8_t expected : fresh) {
    ASSERT_TRUE(ring->Take(b));
    EXPECT_EQ(b, expected);
  }
}

class DoreRavInputTest : public ::testing::Test {
 protected:
  static constexpr int kSlot = 15;
  void SetUp() override {
    DoreRav::ResetInSlot(kSlot);
    DoreRav::MIDIINSETLBUFFER(bytes.get(), kSlot);
    DoreRav::MIDIINSETSBUFFER(shorts.get(), kSlot);
    DoreRav::MidiInHandler(kSlot, InEvent::Opened);
  }
  void TearDown() override {
    DoreRav::MIDIINSETLBUFFER(nullptr, kSlot);
    DoreRav::MIDIINSETSBUFFER(nullptr, kSlot);
    DoreRav::MidiInHandler(kSlot, InEvent::Closed);
  }
  void Store(const std::vector<uint8_t>& data) {
    DoreRav::MidiInHandler(kSlot, InEvent::LongData, data.data(), data.size());
  }
  std::unique_ptr<ByteRing> bytes = std::make_unique<ByteRing>();
  std::unique_ptr<ShortRing> shorts = std::make_unique<ShortRing>();
};

TEST_F(DoreRavInputTest, AFullRingDropsCountsAndLogsOncePerEpisode) {
  test::LogCapture log;
  Store(Bytes(0, 32700));
  Store(Bytes(32700, 100));  // 68 fit
  Store(Bytes(32800, 50));   // still full: the same episode
  DoreRav::MidiInHandler(kSlot, InEvent::Overrun, nullptr, 7);
  DoreRav::MIDIINUNPREPAREHEADERS();
  EXPECT_EQ(bytes->Count.load(), 32768);
  EXPECT_EQ(DoreRav::MidiInDroppedBytes(kSlot), 32u + 50u + 7u);

  uint8_t b = 0;
  for (size_t i = 0; i < 32768; ++i) {
    ASSERT_TRUE(bytes->Take(b));
    ASSERT_EQ(b, Pattern(i)) << "the stored bytes stay intact, byte " << i;
  }
  Store(Bytes(0, 10));  // stored: the episode ends
  Store(Bytes(0, 32768));
  DoreRav::MIDIINUNPREPAREHEADERS();
  EXPECT_EQ(test::CountOf(log.Text(), "MidiIn overflow"), 2u);
}

TEST_F(DoreRavInputTest, ShortMessagesArePackedIntoTheShortRing) {
  DoreRav::MidiInHandler(kSlot, InEvent::ShortData, nullptr, 0, 0x7F3C90);
  DoreRav::MidiInHandler(kSlot, InEvent::ShortData, nullptr, 0, 0x0005C0);
  uint32_t entry = 0;
  ASSERT_TRUE(shorts->Take(entry));
  EXPECT_EQ(entry, 0x7F3C90u);
  ASSERT_TRUE(shorts->Take(entry));
  EXPECT_EQ(entry, 0x0005C0u);
  EXPECT_EQ(bytes->Count.load(), 0);
}

TEST_F(DoreRavInputTest, NothingIsStoredAfterCloseIsRequestedOrTheRingIsForgotten) {
  DoreRav::MIDIINREQUESTCLOSE(kSlot);
  Store({0xF0, 0x0F});
  EXPECT_EQ(bytes->Count.load(), 0);
  DoreRav::MidiInHandler(kSlot, InEvent::Opened);  // a new open listens again
  Store({0xF0});
  EXPECT_EQ(bytes->Count.load(), 1);

  DoreRav::MIDIINSETLBUFFER(nullptr, kSlot);
  DoreRav::MIDIINSETSBUFFER(nullptr, kSlot);
  Store({0xF7});
  DoreRav::MidiInHandler(kSlot, InEvent::ShortData, nullptr, 0, 0x90);
  EXPECT_EQ(bytes->Count.load(), 1);
  EXPECT_EQ(shorts->Count.load(), 0);
}

TEST(DoreRavTest, FlagsFollowTheDriversReports) {
  const int slot = 14;
  DoreRav::ResetOutSlot(slot);
  DoreRav::MidiOutHandler(slot, OutEvent::Opened);
  EXPECT_TRUE(DoreRav::MIDIOUTISOPEN(slot));
  DoreRav::MIDIOUTMARKBUSY(slot);
  EXPECT_TRUE(DoreRav::MIDIOUTISBUSY(slot));
  DoreRav::MidiOutHandler(slot, OutEvent::Done);
  EXPECT_FALSE(DoreRav::MIDIOUTISBUSY(slot));
  DoreRav::MidiOutHandler(slot, OutEvent::Closed);
  EXPECT_FALSE(DoreRav::MIDIOUTISOPEN(slot));

  // Slots a driver could name by mistake are ignored, not written.
  DoreRav::MidiOutHandler(16, OutEvent::Opened);
  DoreRav::MidiInHandler(-1, InEvent::LongData, nullptr, 5);
  EXPECT_FALSE(DoreRav::MIDIOUTISOPEN(16));
  EXPECT_FALSE(DoreRav::MIDIINISOPEN(-1));
}

}  // namespace
}  // namespace kelvora::midi
