#include "midi/InputDump.h"

#include "diagnostics/DumpRows.h"
#include "midi/Midiin.h"

namespace kelvora::midi {

void WriteInputDump(TMidiIn& in) {
  diagnostics::TDumpRows rows(diagnostics::DebugDevice);
  rows.Begin();
  uint8_t b = 0;
  while (in.BytesAvailable() > 0 && in.ReadByte(b)) rows.Byte(b);
  rows.End();
}

}  // namespace kelvora::midi
