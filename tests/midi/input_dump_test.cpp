#include <gtest/gtest.h>

#include <vector>

#include "midi/DoreRav.h"
#include "midi/InputDump.h"
#include "midi/Midiin.h"
#include "midi_support.h"

namespace kelvora::midi {
namespace {

TEST(InputDumpTest, TwentyBytesMakeAFullRowAndAShortOneAndAreConsumed) {
  TMidiIn port;
  std::vector<uint8_t> bytes(20);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(0xF0 + i);
  DoreRav::MidiInHandler(port.Slot(), InEvent::LongData, bytes.data(), bytes.size());

  test::LogCapture log;
  WriteInputDump(port);
  const std::string text = log.Text();
  const std::string expected =
      "** Start of MidiIn Dump **\r\n"
      "f0 f1 f2 f3 f4 f5 f6 f7 f8 f9 fa fb fc fd fe ff  \r\n"
      "00 01 02 03  \r\n"
      "** End of MidiIn Dump **\r\n";
  EXPECT_NE(text.find(expected), std::string::npos) << text;
  EXPECT_EQ(port.BytesAvailable(), 0u);
}

TEST(InputDumpTest, AnEmptyInputGivesJustTheFrame) {
  TMidiIn port;
  test::LogCapture log;
  WriteInputDump(port);
  EXPECT_NE(log.Text().find("** Start of MidiIn Dump **\r\n \r\n** End of MidiIn Dump **\r\n"),
            std::string::npos);
}

}  // namespace
}  // namespace kelvora::midi
