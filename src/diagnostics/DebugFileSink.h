#pragma once

#include <cstdio>
#include <string>

#include "diagnostics/DebugSink.h"

namespace kelvora::diagnostics {

// The debug log as a text file. Lines are flushed as they end, so the log can be read while
// the program runs and keeps its last lines when the program dies.
class TDebugFileSink : public TDebugSink {
 public:
  TDebugFileSink() = default;
  ~TDebugFileSink() override;
  TDebugFileSink(const TDebugFileSink&) = delete;
  TDebugFileSink& operator=(const TDebugFileSink&) = delete;

  // Creates the file anew (an old log is overwritten); false when it cannot be created.
  bool Create(const std::string& path);
  void Write(std::string_view text) override;
  void Flush() override;

 private:
  std::FILE* file_ = nullptr;
};

}  // namespace kelvora::diagnostics
