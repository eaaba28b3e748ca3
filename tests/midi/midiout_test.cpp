#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "midi/DoreRav.h"
#include "midi/MidiSystem.h"
#include "midi/Midiout.h"
#include "midi_support.h"

namespace kelvora::midi {
namespace {

using Calls = std::vector<std::string>;

class MidiOutTest : public ::testing::Test {
 protected:
  void Send(TMidiOut& port, const std::vector<uint8_t>& bytes) {
    for (uint8_t b : bytes) port.SendByte(b);
  }
  test::VirtualTime time;
  test::ScriptedDriver driver;
  testing::ScopedDriver useDriver_{driver};
};

TEST_F(MidiOutTest, PoolHoldsSixteenPortsAndReusesAFreedSlot) {
  std::vector<std::unique_ptr<TMidiOut>> ports;
  for (int i = 0; i < 16; ++i) ports.push_back(std::make_unique<TMidiOut>());
  EXPECT_EQ(ports[0]->Slot(), 0);
  EXPECT_EQ(ports[15]->Slot(), 15);
  EXPECT_EQ(test::PortErrorText([] { TMidiOut extra; }), "error: Midiout pool full");
  ports[5].reset();
  TMidiOut reused;
  EXPECT_EQ(reused.Slot(), 5);
}

TEST_F(MidiOutTest, ChannelIsClampedToOneThroughSixteen) {
  TMidiOut port;
  EXPECT_EQ(port.Channel(), 1);
  for (auto [given, kept] : {std::pair{0, 1}, {-5, 1}, {17, 16}, {200, 16}, {10, 10}}) {
    port.SetChannel(given);
    EXPECT_EQ(port.Channel(), kept) << "given " << given;
  }
}

TEST_F(MidiOutTest, ShortMessagesArePackedOnTheChannelWithoutMasking) {
  TMidiOut port;
  port.SetChannel(3);
  ASSERT_TRUE(port.Open());
  port.NoteOn(60, 127);
  port.NoteOff(200);
  port.ProgramChange(5);
  port.NoteOn(-1, 0x180);  // taken as bytes: 0xFF and 0x80
  EXPECT_EQ(driver.ShortMessages(),
            (std::vector<uint32_t>{0x7F3C92, 0x00C892, 0x0005C2, 0x80FF92}));
}

TEST_F(MidiOutTest, OpenFailuresAreReportedByResultAndErrorCode) {
  TMidiOut port;
  port.SetDeviceID(-1);
  EXPECT_FALSE(port.Open());
  EXPECT_EQ(port.ErrorCode(), 2);
  EXPECT_TRUE(driver.Calls().empty()) << "no device selected: no driver call";

  port.SetDeviceID(0);
  driver.openResult = 11;
  EXPECT_FALSE(port.Open());
  EXPECT_EQ(port.ErrorCode(), 11);

  driver.openResult = 0;
  driver.confirmOpen = false;
  const uint32_t start = TickCount();
  EXPECT_FALSE(port.Open());
  EXPECT_EQ(port.ErrorCode(), 2000);
  EXPECT_GT(TickCount() - start, 5000u);
  EXPECT_EQ(driver.Calls().back(), "CloseOutput") << "an unconfirmed open is given up";
}

TEST_F(MidiOutTest, OpenOnAnOpenPortDoesNothing) {
  TMidiOut port;
  ASSERT_TRUE(port.Open());
  ASSERT_TRUE(port.Open());
  EXPECT_EQ(driver.Calls(), (Calls{"OpenOutput 0"}));
  port.Close();
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(driver.Calls(), (Calls{"OpenOutput 0", "CloseOutput"}));
}

TEST_F(MidiOutTest, SysExGoesOutWhenF7ArrivesAndBytesSentWhileClosedAreLost) {
  TMidiOut port;
  port.SendByte(0x11);
  ASSERT_TRUE(port.Open());
  Send(port, {0xF0, 0x0F, 0x03});
  EXPECT_TRUE(driver.LongMessages().empty());
  Send(port, {0x00, 0xF7});
  EXPECT_EQ(driver.LongMessages(),
            (std::vector<std::vector<uint8_t>>{{0xF0, 0x0F, 0x03, 0x00, 0xF7}}));
  EXPECT_FALSE(port.IsBusy());
}

TEST_F(MidiOutTest, AFullBufferIsSentAtOnceAndTheClosingF7GoesAlone) {
  TMidiOut port;
  ASSERT_TRUE(port.Open());
  for (size_t i = 0; i < TMidiOut::kSysExCapacity; ++i) port.SendByte(0x40);
  ASSERT_EQ(driver.LongMessages().size(), 1u);
  EXPECT_EQ(driver.LongMessages()[0].size(), 32768u);
  port.SendByte(0xF7);
  ASSERT_EQ(driver.LongMessages().size(), 2u);
  EXPECT_EQ(driver.LongMessages()[1], std::vector<uint8_t>{0xF7});
}

TEST_F(MidiOutTest, ASendNotDoneIn20SecondsRaisesAndIsNotRepeated) {
  TMidiOut port;
  ASSERT_TRUE(port.Open());
  driver.completeSends = false;
  for (size_t i = 0; i + 1 < TMidiOut::kSysExCapacity; ++i) port.SendByte(0x40);
  const uint32_t start = TickCount();
  EXPECT_EQ(test::PortErrorText([&] { port.SendByte(0x41); }),
            "error: Midiout takes too long to send data");
  EXPECT_GT(TickCount() - start, 20000u);
  EXPECT_TRUE(port.IsOpen());

  DoreRav::MidiOutHandler(port.Slot(), OutEvent::Done);  // the driver catches up
  driver.completeSends = true;
  Send(port, {0xF0, 0x01, 0xF7});  // a full buffer that timed out is never written past
  EXPECT_EQ(driver.LongMessages().back(), (std::vector<uint8_t>{0xF0, 0x01, 0xF7}));
}

TEST_F(MidiOutTest, CloseRaisesWhenStillBusyOrNotConfirmed) {
  TMidiOut port;
  ASSERT_TRUE(port.Open());
  DoreRav::MIDIOUTMARKBUSY(port.Slot());
  EXPECT_EQ(test::PortErrorText([&] { port.Close(); }),
            "error: Midiout takes too long to send data");
  EXPECT_TRUE(port.IsOpen()) << "the port stays open";

  DoreRav::MidiOutHandler(port.Slot(), OutEvent::Done);
  driver.confirmClose = false;
  const uint32_t start = TickCount();
  EXPECT_EQ(test::PortErrorText([&] { port.Close(); }), "error: Unable to close Midiout");
  EXPECT_GT(TickCount() - start, 5000u);
  DoreRav::MidiOutHandler(port.Slot(), OutEvent::Closed);
}

TEST_F(MidiOutTest, ADoneJustBeforeTheLimitIsInTime) {
  TMidiOut port;
  ASSERT_TRUE(port.Open());
  driver.completeSends = false;
  const int slot = port.Slot();
  time.clock.SetOnAdvance([slot](uint32_t) { DoreRav::MidiOutHandler(slot, OutEvent::Done); });
  EXPECT_NO_THROW(port.SendByte(0xF7));
  time.clock.SetOnAdvance(nullptr);
}

TEST_F(MidiOutTest, ANewPortStartsClosedWhateverTheSlotsLastOwnerLeft) {
  int slot = -1;
  {
    TMidiOut port;
    ASSERT_TRUE(port.Open());
    slot = port.Slot();
    driver.confirmClose = false;  // the destructor's close times out; it must not throw
  }
  TMidiOut next;
  EXPECT_EQ(next.Slot(), slot);
  EXPECT_FALSE(next.IsOpen());
}

}  // namespace
}  // namespace kelvora::midi
