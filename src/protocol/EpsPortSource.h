#pragma once

#include <cstdint>
#include <memory>

#include "protocol/Sysex.h"

namespace kelvora::midi {
class TMidiIn;
}

namespace kelvora::protocol {

// The codec's byte source over the session's input port: each byte waits at most the port's 10 s
// and is taken straight from the ring when it is already there.
class EpsPortSource : public ByteSource {
 public:
  explicit EpsPortSource(const std::unique_ptr<midi::TMidiIn>& port) : port_(port) {}
  bool Get(uint8_t& byte) override;
  bool Peek(uint8_t& byte) override;

 private:
  const std::unique_ptr<midi::TMidiIn>& port_;
};

}  // namespace kelvora::protocol
