#pragma once

#include <string>

#include "diagnostics/DebugSink.h"

namespace kelvora::diagnostics {

// The debug log on a serial port at 19200 baud, 8 data bits, no parity, 1 stop bit, raw output
// (CR LF go out as they are) and no flow control, held exclusively while it is open.
class TDebugSerialSink : public TDebugSink {
 public:
  // The port used unless $KELVORA_DEBUG_SERIAL names another.
  static constexpr const char* kDefaultPort = "/dev/ttyS0";
  static std::string PortPath();

  TDebugSerialSink() = default;
  ~TDebugSerialSink() override;
  TDebugSerialSink(const TDebugSerialSink&) = delete;
  TDebugSerialSink& operator=(const TDebugSerialSink&) = delete;

  // Opens an existing terminal device and configures it; false when there is no such port,
  // it is not a terminal, another program holds it, or it refuses the settings.
  bool Open(const std::string& device);
  // Returns when every byte has been handed to the port.
  void Write(std::string_view text) override;
  void Flush() override {}

 private:
  bool Configure();
  void Release();

  int fd_ = -1;
};

}  // namespace kelvora::diagnostics
