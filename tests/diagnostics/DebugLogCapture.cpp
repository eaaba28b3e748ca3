#include "diagnostics/DebugLogCapture.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "diagnostics/Debugdevice.h"

namespace kelvora::testing {

DebugLogCapture::DebugLogCapture() {
  folder_ = (std::filesystem::temp_directory_path() /
             ("kelvora-log-capture-" + std::to_string(::getpid())))
                .string();
  std::filesystem::create_directories(folder_);
  ::setenv("KELVORA_DEBUG_DIR", folder_.c_str(), 1);
  diagnostics::TDebugDevice device;
  device.Close();
  device.SetMedia(diagnostics::dmFile);
  device.Open();
}

DebugLogCapture::~DebugLogCapture() {
  Text();
  std::filesystem::remove_all(folder_);
}

std::string DebugLogCapture::Text() {
  if (open_) {
    diagnostics::TDebugDevice device;
    device.Close();
    device.SetMedia(diagnostics::dmNull);
    open_ = false;
  }
  std::ifstream file(std::filesystem::path(folder_) / "Debug.txt", std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace kelvora::testing
