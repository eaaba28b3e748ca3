#include "diagnostics/DumpRows.h"

namespace kelvora::diagnostics {

namespace {
constexpr int kBytesPerRow = 16;
}  // namespace

void TDumpRows::Begin() {
  column_ = 0;
  WriteDebugLine(device_, "** Start of MidiIn Dump **");
}

void TDumpRows::Byte(uint8_t byte) {
  // A dump can run to tens of thousands of bytes, so no formatted print per byte.
  static constexpr char kHex[] = "0123456789abcdef";
  const char text[4] = {kHex[byte >> 4], kHex[byte & 0xF], ' ', '\0'};
  TDebugDevice classWide;
  (device_ != nullptr ? *device_ : classWide).Write(text);
  if (++column_ == kBytesPerRow) {
    WriteDebugLine(device_, " ");
    column_ = 0;
  }
}

void TDumpRows::End() {
  WriteDebugLine(device_, " ");
  WriteDebugLine(device_, "** End of MidiIn Dump **");
  column_ = 0;
}

}  // namespace kelvora::diagnostics
