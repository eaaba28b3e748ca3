#include "protocol/EpsPortSource.h"

#include "midi/Midiin.h"

namespace kelvora::protocol {

bool EpsPortSource::Get(uint8_t& byte) { return port_->ReadByte(byte); }

}  // namespace kelvora::protocol
