#pragma once

#include <string_view>

namespace kelvora::diagnostics {

// Where an open debug session sends its text: a file, a serial port or the monitor.
class TDebugSink {
 public:
  virtual ~TDebugSink() = default;
  // Writes the text as it is; failures are dropped, a debug log never retries.
  virtual void Write(std::string_view text) = 0;
  // Makes everything written so far reach the medium; called when a session ends.
  virtual void Flush() = 0;
};

}  // namespace kelvora::diagnostics
