#include <gtest/gtest.h>

#include "midi/DoreRav.h"
#include "midi/LoopbackMidiDriver.h"
#include "midi/MidiSystem.h"
#include "midi/Midiout.h"
#include "midi_support.h"

namespace kelvora::midi {
namespace {

TEST(MidiSystemTest, WithoutADriverThereAreNoDevicesAndOpensFail) {
  SetDriver(nullptr);
  EXPECT_EQ(CurrentDriver().InputCount(), 0);
  EXPECT_EQ(CurrentDriver().OutputCount(), 0);
  TMidiOut port;
  EXPECT_FALSE(port.Open());
  EXPECT_NE(port.ErrorCode(), 0);
  EXPECT_NE(port.NoteOn(60, 100), 0);
}

TEST(DeviceListTest, NumbersFollowOnAndSlotCallsGoToTheOpeningBackend) {
  test::ScriptedDriver first;
  LoopbackMidiDriver second("Simulated EPS-16 PLUS");
  DeviceList list{&first, nullptr, &second};
  ASSERT_EQ(list.OutputCount(), 2);
  ASSERT_EQ(list.InputCount(), 2);
  EXPECT_EQ(list.OutputName(0), "Scripted Out");
  EXPECT_EQ(list.OutputName(1), "Simulated EPS-16 PLUS");
  EXPECT_EQ(list.InputName(1), "Simulated EPS-16 PLUS");
  EXPECT_EQ(list.OutputName(2), "");
  EXPECT_EQ(list.OpenOutput(2, 3), kErrorBadDevice);
  EXPECT_EQ(list.OpenOutput(-1, 3), kErrorBadDevice);

  const int slot = 12;
  DoreRav::ResetOutSlot(slot);
  ASSERT_EQ(list.OpenOutput(1, slot), 0);
  EXPECT_EQ(list.SendShort(slot, 0x403C90), 0);
  const uint8_t message[] = {0xF0, 0x7E, 0xF7};
  list.SendLong(slot, message, sizeof message);
  second.WaitIdle();
  EXPECT_EQ(second.ReceivedFromProgram(), std::vector<uint8_t>(message, message + 3));
  EXPECT_TRUE(first.Calls().empty());

  list.CloseOutput(slot);
  second.WaitIdle();
  EXPECT_FALSE(DoreRav::MIDIOUTISOPEN(slot));
  EXPECT_EQ(list.SendShort(slot, 0x90), kErrorInvalidHandle) << "the slot belongs to nobody now";
}

// The numbers a user picked from a list stay with their devices when another backend's list
// grows or shrinks before the open: another program's sequencer port came or went.
TEST(DeviceListTest, NumbersStayAsLastListedWhenAnEarlierBackendsDevicesChange) {
  test::ScriptedDriver hardware;
  LoopbackMidiDriver simulated("Simulated EPS-16 PLUS");
  DeviceList list{&hardware, &simulated};
  ASSERT_EQ(list.OutputCount(), 2);
  ASSERT_EQ(list.InputCount(), 2);
  hardware.devices = 2;
  EXPECT_EQ(list.OutputName(1), "Simulated EPS-16 PLUS");
  const int slot = 13;
  DoreRav::ResetOutSlot(slot);
  DoreRav::ResetInSlot(slot);
  ASSERT_EQ(list.OpenOutput(1, slot), 0);
  hardware.devices = 0;
  ASSERT_EQ(list.OpenInput(1, slot), 0);
  simulated.WaitIdle();
  EXPECT_TRUE(DoreRav::MIDIOUTISOPEN(slot));
  EXPECT_TRUE(DoreRav::MIDIINISOPEN(slot));
  EXPECT_TRUE(hardware.Calls().empty());
  list.CloseOutput(slot);
  list.CloseInput(slot);
  simulated.WaitIdle();
  // The next listing numbers them afresh.
  EXPECT_EQ(list.OutputCount(), 1);
  EXPECT_EQ(list.OutputName(0), "Simulated EPS-16 PLUS");
  EXPECT_EQ(list.OpenOutput(1, slot), kErrorBadDevice);
}

}  // namespace
}  // namespace kelvora::midi
