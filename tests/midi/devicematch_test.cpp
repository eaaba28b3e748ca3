#include <gtest/gtest.h>

#include "midi/DeviceMatch.h"

namespace kelvora::midi {
namespace {

// What a machine with a virtual MIDI card, a USB interface, a second identical interface and
// the simulated sampler lists.
std::vector<DeviceName> Machine() {
  return {{"Midi Through", "Midi Through Port-0"},
          {"Virtual Raw MIDI 0-0", "VirMIDI 0-0    "},
          {"UM-ONE", "UM-ONE MIDI 1"},
          {"UM-ONE", "UM-ONE MIDI 1"},
          {"Simulated EPS-16 PLUS"}};
}

TEST(DeviceMatchTest, AFullNameAPartOrANumberFindsOneDeviceWhateverTheBlanksAtItsEnd) {
  const std::vector<DeviceName> devices = Machine();
  EXPECT_EQ(devices[1].Full(), "Virtual Raw MIDI 0-0:VirMIDI 0-0") << "the kernel's padding goes";
  EXPECT_EQ(MatchDevice(devices, "Virtual Raw MIDI 0-0:VirMIDI 0-0").index, 1);
  EXPECT_EQ(MatchDevice(devices, "Virtual Raw MIDI 0-0:VirMIDI 0-0   ").index, 1);
  EXPECT_EQ(MatchDevice(devices, "VirMIDI 0-0").index, 1) << "the port alone";
  EXPECT_EQ(MatchDevice(devices, "Virtual Raw MIDI 0-0").index, 1) << "the client alone";
  EXPECT_EQ(MatchDevice(devices, "virmidi 0-0").index, 1) << "case only when nothing else fits";
  EXPECT_EQ(MatchDevice(devices, "Simulated EPS-16 PLUS").index, 4);
  EXPECT_EQ(MatchDevice(devices, "1").index, 0);
  EXPECT_EQ(MatchDevice(devices, "5").index, 4);
}

TEST(DeviceMatchTest, ANameOfSeveralDevicesOrOfNoneIsRefusedWithTheCandidatesNamed) {
  const std::vector<DeviceName> devices = Machine();
  const DeviceMatch twin = MatchDevice(devices, "UM-ONE");
  EXPECT_FALSE(twin.Found());
  EXPECT_NE(twin.error.find("3 \"UM-ONE:UM-ONE MIDI 1\", 4 \"UM-ONE:UM-ONE MIDI 1\""),
            std::string::npos)
      << twin.error;
  EXPECT_EQ(MatchDevice(devices, "4").index, 3) << "twins are told apart by number";

  EXPECT_NE(MatchDevice(devices, "VirMIDI 1-0").error.find("No MIDI device is named"),
            std::string::npos);
  EXPECT_NE(MatchDevice(devices, "0").error.find("numbered 1 to 5"), std::string::npos);
  EXPECT_NE(MatchDevice(devices, "6").error.find("numbered 1 to 5"), std::string::npos);
  EXPECT_FALSE(MatchDevice(devices, "   ").Found());
  EXPECT_FALSE(MatchDevice({}, "1").Found());
}

TEST(DeviceMatchTest, AFullNameWinsOverAPartAndANumberOverAPortNamedByDigits) {
  // A client whose name is another device's port name, and a port named like a number.
  const std::vector<DeviceName> devices = {{"Synth", "Out"}, {"Out"}, {"Box", "2"}};
  EXPECT_EQ(MatchDevice(devices, "Out").index, 1) << "the full name of device 2";
  EXPECT_EQ(MatchDevice(devices, "Box:2").index, 2);
  EXPECT_EQ(MatchDevice(devices, "2").index, 1) << "no device's full name is 2";
}

}  // namespace
}  // namespace kelvora::midi
