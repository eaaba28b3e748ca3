#pragma once

#include <QString>

#include "diagnostics/DebugMonitor.h"

namespace kelvora::diagnostics {

// The debug log sent to an external monitor program over the D-Bus session bus. A monitor
// owns the bus name kService and exports, at kObjectPath, the interface kInterface with the
// method "Write" taking one string (the text exactly as logged, line ends included).
// Calls are sent without waiting for a reply: a slow or hung monitor never stalls the program,
// and its errors are ignored.
class TDebugMonitorSink : public TDebugMonitor {
 public:
  static constexpr const char* kService = "DuvizEzi.Duv";
  static constexpr const char* kObjectPath = "/DuvizEzi/Duv";
  static constexpr const char* kInterface = "DuvizEzi.Duv";
  static constexpr const char* kMethod = "Write";

  TDebugMonitorSink() = default;
  TDebugMonitorSink(const TDebugMonitorSink&) = delete;
  TDebugMonitorSink& operator=(const TDebugMonitorSink&) = delete;

  // Connects to the session bus ($DBUS_SESSION_BUS_ADDRESS, else the default one) on first use
  // and keeps the connection until the program ends; true when a monitor currently owns
  // kService.
  bool Open() override;
  void Write(std::string_view text) override;
  // Waits for one round trip to the bus, so every call sent before has reached it.
  void Flush() override;

 private:
  bool Connect();

  bool connected_ = false;
};

}  // namespace kelvora::diagnostics
