#include "protocol/SamplerKind.h"

namespace kelvora::protocol {

SamplerKind KindOfInstrumentId(int idWord) {
  switch (idWord & 0xFFFF) {
    case 0xFFFF:
      return SamplerKind::Eps16Plus;
    case 0xFFFE:
      return SamplerKind::Asr;
    default:
      return SamplerKind::Eps;
  }
}

int SampleBits(SamplerKind kind) { return kind == SamplerKind::Eps ? 13 : 16; }

}  // namespace kelvora::protocol
