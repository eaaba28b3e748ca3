#include "protocol/EpsPortSource.h"

#include "midi/Midiin.h"

namespace kelvora::protocol {

bool EpsPortSource::Get(uint8_t& byte) { return port_->ReadByte(byte); }

bool EpsPortSource::Peek(uint8_t& byte) { return port_->PeekByte(byte); }

}  // namespace kelvora::protocol
