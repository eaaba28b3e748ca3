#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <vector>

#include "midi/DoreRav.h"
#include "midi/LoopbackMidiDriver.h"
#include "midi/MidiSystem.h"
#include "midi/Midiin.h"
#include "midi/Midiout.h"
#include "midi/Rings.h"
#include "midi_support.h"

namespace kelvora::midi {
namespace {

std::vector<uint8_t> Pattern(size_t count, size_t seed = 0) {
  std::vector<uint8_t> bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(((seed + i) * 40503u) >> 7);
  return bytes;
}

// Answers every SysEx with `reply`, from inside the callback.
class AnsweringPeer : public LoopbackPeer {
 public:
  AnsweringPeer(LoopbackMidiDriver& driver, std::vector<uint8_t> reply)
      : driver_(driver), reply_(std::move(reply)) {}
  void OnLongMessage(const uint8_t* data, size_t length) override {
    std::lock_guard lock(mutex_);
    messages.emplace_back(data, data + length);
    driver_.SendToProgram(reply_.data(), reply_.size());
  }
  void OnShortMessage(uint32_t packed) override {
    std::lock_guard lock(mutex_);
    shorts.push_back(packed);
  }
  std::mutex mutex_;
  std::vector<std::vector<uint8_t>> messages;
  std::vector<uint32_t> shorts;

 private:
  LoopbackMidiDriver& driver_;
  std::vector<uint8_t> reply_;
};

class LoopbackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(in.Open());
    ASSERT_TRUE(out.Open());
  }
  void TearDown() override {
    in.Close();
    out.Close();
  }
  std::vector<uint8_t> ReadAll() {
    std::vector<uint8_t> bytes;
    for (uint8_t b = 0; in.BytesAvailable() > 0 && in.ReadByte(b);) bytes.push_back(b);
    return bytes;
  }
  void Send(const std::vector<uint8_t>& message) {
    for (uint8_t b : message) out.SendByte(b);
  }
  LoopbackMidiDriver loopback{"Loopback", 100};
  testing::ScopedDriver useLoopback_{loopback};
  TMidiIn in;
  TMidiOut out;
};

TEST_F(LoopbackTest, TheProgramsMessageReachesThePeerWhichAnswersInFragments) {
  const std::vector<uint8_t> reply = Pattern(1000);
  AnsweringPeer peer(loopback, reply);
  loopback.AttachPeer(&peer);
  Send({0xF0, 0x0F, 0x03, 0x00, 0x05, 0xF7});
  loopback.WaitIdle();  // includes the answer queued from inside the callback
  EXPECT_EQ(in.BytesAvailable(), 1000u);
  EXPECT_EQ(ReadAll(), reply);
  ASSERT_EQ(peer.messages.size(), 1u);
  EXPECT_EQ(peer.messages[0], loopback.ReceivedFromProgram());
  out.ProgramChange(3);
  loopback.WaitIdle();
  EXPECT_EQ(peer.shorts, std::vector<uint32_t>{0x03C0});
  loopback.AttachPeer(nullptr);
}

TEST_F(LoopbackTest, WithRecordingOffThePeerStillGetsEveryMessage) {
  AnsweringPeer peer(loopback, {});
  loopback.AttachPeer(&peer);
  loopback.SetRecording(false);
  Send({0xF0, 0x0F, 0x03, 0x00, 0x05, 0xF7});
  loopback.WaitIdle();
  ASSERT_EQ(peer.messages.size(), 1u);
  EXPECT_TRUE(loopback.ReceivedFromProgram().empty());
}

TEST_F(LoopbackTest, BlocksLongerThanTheRingPassWhileTheProgramReads) {
  const std::vector<uint8_t> block = Pattern(30000, 7);
  AnsweringPeer peer(loopback, block);
  loopback.AttachPeer(&peer);
  for (int round = 0; round < 6; ++round) {  // 180000 bytes: the ring wraps five times
    Send({0xF0, 0x01, 0xF7});
    for (size_t i = 0; i < block.size(); ++i) {
      uint8_t b = 0;
      ASSERT_TRUE(in.ReadByte(b));
      ASSERT_EQ(b, block[i]) << "round " << round << " byte " << i;
    }
  }
  EXPECT_EQ(in.DroppedBytes(), 0u);
  loopback.AttachPeer(nullptr);
}

TEST_F(LoopbackTest, ADroppedByteIsMissingAcrossAFragmentBoundary) {
  const std::vector<uint8_t> bytes = Pattern(300);
  loopback.DropByte(100);  // the first byte of the second fragment
  loopback.SendToProgram(bytes.data(), bytes.size());
  loopback.WaitIdle();
  std::vector<uint8_t> expected = bytes;
  expected.erase(expected.begin() + 100);
  EXPECT_EQ(ReadAll(), expected);
  EXPECT_EQ(in.DroppedBytes(), 0u) << "a byte lost on the cable is not an overrun";
}

TEST_F(LoopbackTest, AnOverrunLosesBytesAndIsCountedAndLoggedOnce) {
  test::LogCapture log;
  const std::vector<uint8_t> bytes = Pattern(400);
  loopback.InjectOverrun(250);  // spans three fragments
  loopback.SendToProgram(bytes.data(), bytes.size());
  loopback.WaitIdle();
  EXPECT_EQ(ReadAll(), std::vector<uint8_t>(bytes.begin() + 250, bytes.end()));
  EXPECT_EQ(in.DroppedBytes(), 250u);
  EXPECT_EQ(test::CountOf(log.Text(), "MidiIn overflow"), 1u);
}

TEST_F(LoopbackTest, InputIsDroppedWhileNotListening) {
  in.Close();
  const std::vector<uint8_t> early = Pattern(50);
  loopback.SendToProgram(early.data(), early.size());
  loopback.WaitIdle();
  ASSERT_TRUE(in.Open());
  EXPECT_EQ(in.BytesAvailable(), 0u);
  EXPECT_EQ(loopback.OpenInput(0, 9), kErrorAllocated) << "one input device, already open";
}

TEST_F(LoopbackTest, APacedWireTakesItsTimeInBothDirections) {
  loopback.SetWireRate(3125);  // 320 µs a byte
  const auto start = std::chrono::steady_clock::now();
  Send(std::vector<uint8_t>(312, 0x00));  // SendByte returns after the wire time
  Send({0xF7});
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));

  const std::vector<uint8_t> bytes = Pattern(625);
  const auto inStart = std::chrono::steady_clock::now();
  loopback.SendToProgram(bytes.data(), bytes.size());
  loopback.WaitIdle();
  EXPECT_GE(std::chrono::steady_clock::now() - inStart, std::chrono::milliseconds(200));
  EXPECT_EQ(ReadAll(), bytes);
}

TEST(LoopbackDriverTest, ShortMessagesReachTheProgramOnlyWhileStarted) {
  LoopbackMidiDriver loopback;
  const int slot = 13;
  auto shorts = std::make_unique<ShortRing>();
  DoreRav::ResetInSlot(slot);
  DoreRav::MIDIINSETSBUFFER(shorts.get(), slot);
  ASSERT_EQ(loopback.OpenInput(0, slot), 0);
  loopback.SendShortToProgram(0x111190);
  loopback.WaitIdle();
  EXPECT_TRUE(DoreRav::MIDIINISOPEN(slot));
  loopback.StartInput(slot);
  loopback.SendShortToProgram(0x403C90);
  loopback.WaitIdle();
  uint32_t entry = 0;
  ASSERT_TRUE(shorts->Take(entry));
  EXPECT_EQ(entry, 0x403C90u);
  EXPECT_FALSE(shorts->Take(entry));
  loopback.CloseInput(slot);
  loopback.WaitIdle();
  EXPECT_FALSE(DoreRav::MIDIINISOPEN(slot));
  DoreRav::MIDIINSETSBUFFER(nullptr, slot);
}

TEST(LoopbackDriverTest, PortsSeeTheirSlotsClosedWhenTheDriverGoes) {
  TMidiOut out;
  TMidiIn in;
  {
    LoopbackMidiDriver loopback;
    testing::ScopedDriver use(loopback);
    ASSERT_TRUE(out.Open());
    ASSERT_TRUE(in.Open());
  }
  EXPECT_FALSE(out.IsOpen());
  EXPECT_FALSE(in.IsOpen());
  EXPECT_NE(out.NoteOn(60, 1), 0) << "no call reaches the destroyed driver";
  out.Close();
  in.Close();
}

}  // namespace
}  // namespace kelvora::midi
