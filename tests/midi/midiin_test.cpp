#include <gtest/gtest.h>

#include <QCoreApplication>
#include <functional>
#include <memory>
#include <vector>

#include "midi/DoreRav.h"
#include "midi/MidiActivity.h"
#include "midi/MidiSystem.h"
#include "midi/Midiin.h"
#include "midi_support.h"

namespace kelvora::midi {
namespace {

using Calls = std::vector<std::string>;

class MidiInTest : public ::testing::Test {
 protected:
  void Arrive(const TMidiIn& port, const std::vector<uint8_t>& bytes) {
    DoreRav::MidiInHandler(port.Slot(), InEvent::LongData, bytes.data(), bytes.size());
  }
  void ArriveShort(const TMidiIn& port, uint32_t packed) {
    DoreRav::MidiInHandler(port.Slot(), InEvent::ShortData, nullptr, 0, packed);
  }
  test::VirtualTime time;
  test::ScriptedDriver driver;
  testing::ScopedDriver useDriver_{driver};
};

TEST_F(MidiInTest, PoolHoldsSixteenPortsAndReusesAFreedSlot) {
  std::vector<std::unique_ptr<TMidiIn>> ports;
  for (int i = 0; i < 16; ++i) ports.push_back(std::make_unique<TMidiIn>());
  EXPECT_EQ(test::PortErrorText([] { TMidiIn extra; }), "error: Midiin pool full");
  ports[9].reset();
  TMidiIn reused;
  EXPECT_EQ(reused.Slot(), 9);
}

TEST_F(MidiInTest, OpenAndCloseCallTheDriverInOrder) {
  TMidiIn port;
  port.SetDeviceID(-1);
  EXPECT_FALSE(port.Open());
  EXPECT_EQ(port.ErrorCode(), 2);
  port.SetDeviceID(0);
  ASSERT_TRUE(port.Open());
  ASSERT_TRUE(port.Open());
  port.Close();
  port.Close();
  EXPECT_EQ(driver.Calls(),
            (Calls{"OpenInput 0", "StartInput", "StopInput", "ResetInput", "CloseInput"}));
}

TEST_F(MidiInTest, OpenAndCloseFailuresAfterFiveSeconds) {
  TMidiIn port;
  driver.openResult = 32;
  EXPECT_FALSE(port.Open());
  EXPECT_EQ(port.ErrorCode(), 32);

  driver.openResult = 0;
  driver.confirmOpen = false;
  EXPECT_FALSE(port.Open());
  EXPECT_EQ(port.ErrorCode(), 2000);
  EXPECT_EQ(driver.Calls().back(), "CloseInput");

  driver.confirmOpen = true;
  ASSERT_TRUE(port.Open());
  driver.confirmClose = false;
  const uint32_t start = TickCount();
  EXPECT_EQ(test::PortErrorText([&] { port.Close(); }), "error: Unable to close Midiin");
  EXPECT_GT(TickCount() - start, 5000u);
  DoreRav::MidiInHandler(port.Slot(), InEvent::Closed);
}

TEST_F(MidiInTest, ReadByteWaitsTenSecondsAndALateByteStays) {
  TMidiIn port;
  ASSERT_TRUE(port.Open());
  uint8_t b = 0x55;
  const uint32_t start = TickCount();
  EXPECT_FALSE(port.ReadByte(b));
  EXPECT_EQ(b, 0x55) << "untouched on time-out";
  EXPECT_GT(TickCount() - start, 10000u);

  Arrive(port, {0xF0, 0x0F});
  EXPECT_EQ(port.BytesAvailable(), 2u);
  const uint32_t before = TickCount();
  ASSERT_TRUE(port.ReadByte(b));
  EXPECT_EQ(b, 0xF0);
  EXPECT_EQ(TickCount(), before) << "a waiting byte costs no wait";
  EXPECT_FALSE(port.ExpectByte(0x03)) << "a mismatch";
  EXPECT_EQ(port.BytesAvailable(), 0u) << "is consumed all the same";
}

TEST_F(MidiInTest, ABytePostedDuringTheWaitIsRead) {
  TMidiIn port;
  ASSERT_TRUE(port.Open());
  const int slot = port.Slot();
  time.clock.SetOnAdvance([slot](uint32_t) {
    const uint8_t byte = 0x7E;
    DoreRav::MidiInHandler(slot, InEvent::LongData, &byte, 1);
  });
  EXPECT_TRUE(port.ExpectByte(0x7E));
  time.clock.SetOnAdvance(nullptr);
}

TEST_F(MidiInTest, ShortMessagesSplitIntoBytesAndFlushLeavesThem) {
  TMidiIn port;
  ASSERT_TRUE(port.Open());
  ArriveShort(port, 0x7F3C90);
  Arrive(port, {1, 2, 3});
  port.Flush();
  EXPECT_EQ(port.BytesAvailable(), 0u);
  ASSERT_EQ(port.ShortsAvailable(), 1);
  int status = 0, first = 0, second = 0;
  ASSERT_TRUE(port.ReadShort(status, first, second));
  EXPECT_EQ((std::vector<int>{status, first, second}), (std::vector<int>{0x90, 0x3C, 0x7F}));
  EXPECT_FALSE(port.ReadShort(status, first, second));
  Arrive(port, {4});
  uint8_t b = 0;
  ASSERT_TRUE(port.ReadByte(b));
  EXPECT_EQ(b, 4) << "input after a flush is kept";
}

TEST_F(MidiInTest, WaitForBytesCountsUpToItsLimit) {
  TMidiIn port;
  ASSERT_TRUE(port.Open());
  Arrive(port, {1, 2, 3});
  EXPECT_TRUE(port.WaitForBytes(3, 100));
  const uint32_t start = TickCount();
  EXPECT_FALSE(port.WaitForBytes(4, 2500));
  EXPECT_GT(TickCount() - start, 2500u);
  EXPECT_FALSE(port.WaitForBytes(40000, 1000)) << "more than the ring holds";
  EXPECT_EQ(TickCount() - start, 2501u) << "fails at once";
}

// A wait for a whole block is woken by the write that completes it, not by every fragment; the
// level applies only while a wait is on, and short messages always wake.
TEST_F(MidiInTest, OnlyTheWriteThatReachesTheWakeLevelRaisesActivity) {
  TMidiIn port;
  ASSERT_TRUE(port.Open());
  auto raises = [](const std::function<void()>& report) {
    const uint64_t seen = MidiActivity::Count();
    report();
    return MidiActivity::Count() != seen;
  };
  EXPECT_TRUE(raises([&] { Arrive(port, {1}); })) << "by default every write wakes";
  DoreRav::MIDIINSETWAKELEVEL(port.Slot(), 6);
  EXPECT_FALSE(raises([&] { Arrive(port, {2, 3, 4}); }));
  EXPECT_TRUE(raises([&] { ArriveShort(port, 0x7F3C90); }));
  EXPECT_TRUE(raises([&] { Arrive(port, {5, 6}); }));
  EXPECT_TRUE(raises([&] { Arrive(port, {7}); })) << "beyond the level";

  EXPECT_TRUE(port.WaitForBytes(7, 100));
  EXPECT_FALSE(port.WaitForBytes(9, 100));
  port.Flush();
  EXPECT_TRUE(raises([&] { Arrive(port, {8}); })) << "a wait leaves the level at one byte";
}

TEST_F(MidiInTest, DroppedBytesCountsOverflowAndOverruns) {
  TMidiIn port;
  ASSERT_TRUE(port.Open());
  Arrive(port, std::vector<uint8_t>(32000, 0x10));
  Arrive(port, std::vector<uint8_t>(1000, 0x20));
  DoreRav::MidiInHandler(port.Slot(), InEvent::Overrun, nullptr, 12);
  EXPECT_EQ(port.DroppedBytes(), 232u + 12u);
  EXPECT_EQ(port.BytesAvailable(), 32768u);
}

TEST_F(MidiInTest, ADestroyedPortsSlotIsForgottenAndTheNextStartsEmpty) {
  int slot = -1;
  {
    TMidiIn port;
    ASSERT_TRUE(port.Open());
    slot = port.Slot();
    Arrive(port, {9, 9, 9});
  }
  const uint8_t late = 1;
  DoreRav::MidiInHandler(slot, InEvent::LongData, &late, 1);  // must not reach freed memory
  TMidiIn next;
  EXPECT_EQ(next.Slot(), slot);
  EXPECT_EQ(next.BytesAvailable(), 0u);
  EXPECT_FALSE(next.IsOpen());
}

TEST_F(MidiInTest, OnShortDataRunsFromTheEventLoopNotDuringAWait) {
  int argc = 1;
  char name[] = "midi_ports_test";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  TMidiIn port;
  ASSERT_TRUE(port.Open());
  std::vector<int> keys;
  port.SetOnShortData([&](TMidiIn& sender) {
    EXPECT_EQ(&sender, &port);
    int status = 0, key = 0, velocity = 0;
    while (sender.ShortsAvailable() > 0 && sender.ReadShort(status, key, velocity)) {
      keys.push_back(key);
    }
  });
  ArriveShort(port, 0x403C90);
  ArriveShort(port, 0x403E90);
  uint8_t b = 0;
  EXPECT_FALSE(port.ReadByte(b));  // a full 10-second wait
  EXPECT_TRUE(keys.empty());
  QCoreApplication::processEvents();
  EXPECT_EQ(keys, (std::vector<int>{0x3C, 0x3E}));
  ArriveShort(port, 0x404090);
  QCoreApplication::processEvents();
  EXPECT_EQ(keys.size(), 3u);
}

}  // namespace
}  // namespace kelvora::midi
