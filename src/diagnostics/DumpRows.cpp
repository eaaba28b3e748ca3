#include "diagnostics/DumpRows.h"

#include <cstdio>

namespace kelvora::diagnostics {

namespace {
constexpr int kBytesPerRow = 16;
}  // namespace

void TDumpRows::Begin() {
  column_ = 0;
  WriteDebugLine(device_, "** Start of MidiIn Dump **");
}

void TDumpRows::Byte(uint8_t byte) {
  char text[4];
  std::snprintf(text, sizeof text, "%02x ", byte);
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
