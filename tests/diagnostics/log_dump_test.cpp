#include <gtest/gtest.h>

#include <cstdint>

#include "diagnostics/DumpRows.h"
#include "diagnostics/log_support.h"

namespace kelvora::diagnostics::test {
namespace {

using InputDump = LogTest;

void WriteDump(TDebugDevice* device, int count) {
  TDumpRows dump(device);
  dump.Begin();
  for (int i = 0; i < count; ++i) dump.Byte(static_cast<uint8_t>(0xF0 + i * 7));
  dump.End();
}

TEST_F(InputDump, TwentyBytesGiveAFullRowAndAShortRow) {
  StartSession(dmFile);
  WriteDump(&log_, 20);
  log_.Close();
  EXPECT_EQ(ReadWhole(ProgramLog()), kStartBanner + "** Start of MidiIn Dump **\r\n" +
                                         "f0 f7 fe 05 0c 13 1a 21 28 2f 36 3d 44 4b 52 59  \r\n" +
                                         "60 67 6e 75  \r\n" + "** End of MidiIn Dump **\r\n" +
                                         kEndBanner);
}

TEST_F(InputDump, ExactRowsAndEmptyInputEndWithALoneSpaceLine) {
  StartSession(dmFile);
  WriteDump(nullptr, 16);
  WriteDump(nullptr, 0);
  log_.Close();
  const std::string end = " \r\n** End of MidiIn Dump **\r\n";
  EXPECT_EQ(ReadWhole(ProgramLog()), kStartBanner + "** Start of MidiIn Dump **\r\n" +
                                         "f0 f7 fe 05 0c 13 1a 21 28 2f 36 3d 44 4b 52 59  \r\n" +
                                         end + "** Start of MidiIn Dump **\r\n" + end + kEndBanner);
}

}  // namespace
}  // namespace kelvora::diagnostics::test
