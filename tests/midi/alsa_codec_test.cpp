// Short messages to and from sequencer events, and device names and lookup.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "midi/AlsaPortList.h"
#include "midi/AlsaShortCodec.h"

namespace kelvora::midi {
namespace {

uint32_t Pack(uint8_t status, uint8_t data1 = 0, uint8_t data2 = 0) {
  return status | data1 << 8 | static_cast<uint32_t>(data2) << 16;
}

TEST(AlsaShortCodec, ChannelMessagesOfThePortsBecomeTheirEvents) {
  AlsaShortCodec codec;
  snd_seq_event_t event;
  ASSERT_EQ(codec.Encode(Pack(0x93, 60, 100), event), 0);  // NoteOn on channel 4
  EXPECT_EQ(event.type, SND_SEQ_EVENT_NOTEON);
  EXPECT_EQ(event.data.note.channel, 3);
  EXPECT_EQ(event.data.note.note, 60);
  EXPECT_EQ(event.data.note.velocity, 100);
  ASSERT_EQ(codec.Encode(Pack(0x90, 60, 0), event), 0);  // NoteOff as the ports send it
  EXPECT_EQ(event.type, SND_SEQ_EVENT_NOTEON);
  EXPECT_EQ(event.data.note.velocity, 0);
  ASSERT_EQ(codec.Encode(Pack(0xCF, 7), event), 0);
  EXPECT_EQ(event.type, SND_SEQ_EVENT_PGMCHANGE);
  EXPECT_EQ(event.data.control.channel, 15);
  EXPECT_EQ(event.data.control.value, 7);
  ASSERT_EQ(codec.Encode(Pack(0xFE), event), 0);
  EXPECT_EQ(event.type, SND_SEQ_EVENT_SENSING);
}

TEST(AlsaShortCodec, RefusesWhatIsNoWholeShortMessage) {
  AlsaShortCodec codec;
  snd_seq_event_t event;
  EXPECT_EQ(codec.Encode(Pack(0x40, 1, 2), event), EINVAL);  // data byte as status
  EXPECT_EQ(codec.Encode(Pack(0xF0, 0x0F), event), EINVAL);  // SysEx is no short message
  EXPECT_EQ(codec.Encode(Pack(0xF7), event), EINVAL);
  EXPECT_EQ(codec.Encode(Pack(0xF4), event), EINVAL);            // undefined
  EXPECT_EQ(codec.Encode(Pack(0xC0, 0x80), event), EINVAL);      // program 128
  EXPECT_EQ(codec.Encode(Pack(0x90, 60, 0xFF), event), EINVAL);  // velocity 255
  EXPECT_EQ(codec.Encode(Pack(0xC0, 5, 0xFF), event), 0);        // unused third byte is ignored
}

TEST(AlsaShortCodec, IncomingEventsArePackedWithTheirOwnStatus) {
  AlsaShortCodec codec;
  uint32_t out[AlsaShortCodec::kMaxMessages];
  snd_seq_event_t event;
  snd_seq_ev_clear(&event);
  snd_seq_ev_set_noteoff(&event, 2, 64, 40);
  ASSERT_EQ(codec.Decode(event, out), 1u);
  EXPECT_EQ(out[0], Pack(0x82, 64, 40));
  snd_seq_ev_set_noteon(&event, 0, 64, 0);
  ASSERT_EQ(codec.Decode(event, out), 1u);
  EXPECT_EQ(out[0], Pack(0x90, 64, 0));
  snd_seq_ev_set_pgmchange(&event, 9, 12);
  ASSERT_EQ(codec.Decode(event, out), 1u);
  EXPECT_EQ(out[0], Pack(0xC9, 12));
  snd_seq_ev_set_pitchbend(&event, 0, -8192);
  ASSERT_EQ(codec.Decode(event, out), 1u);
  EXPECT_EQ(out[0], Pack(0xE0, 0, 0));
}

TEST(AlsaShortCodec, SysexAndNonMidiEventsAreNoShortMessages) {
  AlsaShortCodec codec;
  uint32_t out[AlsaShortCodec::kMaxMessages];
  uint8_t bytes[] = {0xF0, 0x0F, 0xF7};
  snd_seq_event_t event;
  snd_seq_ev_clear(&event);
  snd_seq_ev_set_sysex(&event, sizeof bytes, bytes);
  EXPECT_EQ(codec.Decode(event, out), 0u);
  snd_seq_ev_clear(&event);
  event.type = SND_SEQ_EVENT_PORT_SUBSCRIBED;
  EXPECT_EQ(codec.Decode(event, out), 0u);
}

TEST(AlsaShortCodec, RoundTripOfEveryChannelMessageKind) {
  AlsaShortCodec codec;
  uint32_t out[AlsaShortCodec::kMaxMessages];
  for (uint32_t packed : {Pack(0x85, 1, 2), Pack(0x9A, 3, 4), Pack(0xA1, 5, 6), Pack(0xB2, 7, 8),
                          Pack(0xC3, 9), Pack(0xD4, 10), Pack(0xE5, 0x11, 0x22), Pack(0xF2, 1, 2),
                          Pack(0xF3, 4), Pack(0xF8), Pack(0xFF)}) {
    snd_seq_event_t event;
    ASSERT_EQ(codec.Encode(packed, event), 0) << std::hex << packed;
    ASSERT_EQ(codec.Decode(event, out), 1u) << std::hex << packed;
    EXPECT_EQ(out[0], packed);
  }
}

TEST(AlsaPortList, DeviceNamesAreClientColonPortCutTo31BytesOnACharacterBoundary) {
  EXPECT_EQ(AlsaPortList::DeviceName("UM-ONE", "UM-ONE MIDI 1"), "UM-ONE:UM-ONE MIDI 1");
  const std::string cut = AlsaPortList::DeviceName("Scarlett 2i4 USB", "Scarlett 2i4 USB MIDI 1");
  EXPECT_EQ(cut, "Scarlett 2i4 USB:Scarlett 2i4 U");
  EXPECT_EQ(cut.size(), 31u);
  // "Ensoniq:" and 22 bytes, then a two-byte "é" that the limit would cut in half.
  const std::string accented =
      AlsaPortList::DeviceName("Ensoniq", std::string(22, 'x') + "\xC3\xA9t");
  EXPECT_EQ(accented.size(), 30u);
  EXPECT_EQ(accented.back(), 'x');
}

TEST(AlsaPortList, DeviceNamesLeaveOutTrailingBlanks) {
  EXPECT_EQ(AlsaPortList::DeviceName("Virtual 0-0 ", "VirMIDI 0-0     "),
            "Virtual 0-0:VirMIDI 0-0");
  EXPECT_EQ(AlsaPortList::DeviceName("Scarlett 2i4 USB", "Scarlett 2i4 USB MIDI 1"),
            "Scarlett 2i4 USB:Scarlett 2i4 U");
  // A cut that ends on a blank does not show it.
  EXPECT_EQ(AlsaPortList::DeviceName("Scarlett 2i4 USB", "Scarlett 2i4  MIDI"),
            "Scarlett 2i4 USB:Scarlett 2i4");
  EXPECT_EQ(AlsaPortList::DeviceName("Blank", "   "), "Blank:");
}

TEST(AlsaPortList, FindsADeviceAgainByNameWhenItsNumberChanged) {
  const std::vector<AlsaPortInfo> before{{"Midi Through:Port-0", 14, 0}, {"UM-ONE:MIDI 1", 20, 0}};
  const std::vector<AlsaPortInfo> now{
      {"Midi Through:Port-0", 14, 0}, {"Virtual:In", 20, 0}, {"UM-ONE:MIDI 1", 24, 0}};
  const auto found = AlsaPortList::Find(now, before, 1);
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->client, 24);
  EXPECT_FALSE(AlsaPortList::Find({now[0]}, before, 1).has_value());  // unplugged
  EXPECT_FALSE(AlsaPortList::Find(now, before, 2).has_value());
}

TEST(AlsaPortList, TwoIdenticalInterfacesAreToldApartByAddressThenByRank) {
  const std::vector<AlsaPortInfo> before{{"UM-ONE:MIDI 1", 20, 0}, {"UM-ONE:MIDI 1", 24, 0}};
  const auto same = AlsaPortList::Find(before, before, 1);
  ASSERT_TRUE(same.has_value());
  EXPECT_EQ(same->client, 24);
  const std::vector<AlsaPortInfo> replugged{{"UM-ONE:MIDI 1", 28, 0}, {"UM-ONE:MIDI 1", 32, 0}};
  EXPECT_EQ(AlsaPortList::Find(replugged, before, 1)->client, 32);
  EXPECT_EQ(AlsaPortList::Find(replugged, before, 0)->client, 28);
  EXPECT_FALSE(AlsaPortList::Find({replugged[0]}, before, 1).has_value());
}

}  // namespace
}  // namespace kelvora::midi
