#pragma once

// Which model of the family the session talks to, as the sampler tells it.
namespace kelvora::protocol {

enum class SamplerKind { Unknown, Eps, Eps16Plus, Asr };

// Word 25 of every instrument record: $FFFF on an EPS-16 PLUS, $FFFE on an ASR; the original
// EPS predates the ID, so any other value means one.
constexpr int kInstrIdWord = 25;
SamplerKind KindOfInstrumentId(int idWord);

// Bits a sample keeps in the sampler's memory: 13 on the original EPS, 16 on the later models
// and when the model is not known yet.
int SampleBits(SamplerKind kind);

}  // namespace kelvora::protocol
