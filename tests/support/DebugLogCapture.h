#pragma once

#include <string>

#include "support/ScopedEnv.h"
#include "support/TempFolder.h"

namespace kelvora::testing {

// Sends the debug log to a file session in a private temporary folder for the life of the
// object, so a test can read back exactly what was logged.
class DebugLogCapture {
 public:
  DebugLogCapture();
  ~DebugLogCapture();
  DebugLogCapture(const DebugLogCapture&) = delete;
  DebugLogCapture& operator=(const DebugLogCapture&) = delete;

  std::string Text();  // ends the session and returns all it wrote

 private:
  TempFolder folder_;
  ScopedEnv logFolder_;
  bool open_ = true;
};

}  // namespace kelvora::testing
