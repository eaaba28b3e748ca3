#include "support/DebugLogCapture.h"

#include <fstream>
#include <sstream>

#include "diagnostics/Debugdevice.h"

namespace kelvora::testing {

DebugLogCapture::DebugLogCapture() : logFolder_("KELVORA_DEBUG_DIR", folder_.Path()) {
  diagnostics::TDebugDevice device;
  device.Close();
  device.SetMedia(diagnostics::dmFile);
  device.Open();
}

DebugLogCapture::~DebugLogCapture() { Text(); }

std::string DebugLogCapture::Text() {
  if (open_) {
    diagnostics::TDebugDevice device;
    device.Close();
    device.SetMedia(diagnostics::dmNull);
    open_ = false;
  }
  std::ifstream file(folder_ / "Debug.txt", std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace kelvora::testing
