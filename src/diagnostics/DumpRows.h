#pragma once

#include <cstdint>

#include "diagnostics/Debugdevice.h"

namespace kelvora::diagnostics {

// The layout of an input dump in the debug log: the line "** Start of MidiIn Dump **", each
// byte as two lower-case hex digits and a space, the line " " after every 16 bytes (so a full
// row ends in two spaces), then the line " " and "** End of MidiIn Dump **".
class TDumpRows {
 public:
  explicit TDumpRows(TDebugDevice* device) : device_(device) {}

  void Begin();
  void Byte(uint8_t byte);
  void End();

 private:
  TDebugDevice* device_;
  int column_ = 0;
};

}  // namespace kelvora::diagnostics
