#pragma once

#include <cstdint>
#include <memory>

#include "protocol/Sysex.h"

namespace kelvora::midi {
class TMidiOut;
}

namespace kelvora::protocol {

// The codec's byte sink over the session's output port: every byte goes to SendByte, which hands
// the collected message to the driver when the closing F7 arrives.
class EpsPortSink : public ByteSink {
 public:
  explicit EpsPortSink(const std::unique_ptr<midi::TMidiOut>& port) : port_(port) {}
  void Put(uint8_t byte) override;

 private:
  const std::unique_ptr<midi::TMidiOut>& port_;
};

}  // namespace kelvora::protocol
