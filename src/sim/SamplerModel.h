#pragma once

#include <cstdint>
#include <string>

namespace kelvora::sim {

// The machines the simulator can be. All three speak the same SysEx protocol; they differ in
// sample resolution, memory size and the instrument ID word.
enum class SamplerModel { Eps, Eps16Plus, Asr10 };

// "EPS", "EPS-16 PLUS" or "ASR-10".
std::string ModelName(SamplerModel model);

// Sample memory in 16-bit words: 256 Ki on an original EPS (its on-board memory), 512 Ki on an
// EPS-16 PLUS (1 MB), 1 Mi on an ASR-10 (its standard memory).
int64_t DefaultMemoryWords(SamplerModel model);

// Memory is counted in blocks of 256 words; no sampler of the family holds more than 8 Mi words,
// which is also the last position a position field can express.
constexpr int64_t kMemoryBlockWords = 256;
constexpr int64_t kMinMemoryWords = 4 * kMemoryBlockWords;
constexpr int64_t kMaxMemoryWords = 8 * 1024 * 1024;

// Word 25 of every instrument record: $FFFF on an EPS-16 PLUS, $FFFE on an ASR-10; the original
// EPS predates the ID and reads 0.
int InstrumentId(SamplerModel model);

// What a sample value becomes once stored: the original EPS keeps 13 bits, so the low 3 bits of
// every 16-bit word read back as zero. The value is saturated into the 16-bit range first.
int16_t StoredSample(SamplerModel model, int value);

}  // namespace kelvora::sim
