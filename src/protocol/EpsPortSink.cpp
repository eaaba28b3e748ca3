#include "protocol/EpsPortSink.h"

#include "midi/Midiout.h"

namespace kelvora::protocol {

void EpsPortSink::Put(uint8_t byte) { port_->SendByte(byte); }

}  // namespace kelvora::protocol
