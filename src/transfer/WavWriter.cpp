#include "transfer/WavWriter.h"

namespace kelvora::transfer {
namespace {

constexpr long kRiffSizeOffset = 4;
constexpr long kDataSizeOffset = 40;
constexpr uint16_t kPcm = 1;
constexpr uint16_t kChannels = 1;
constexpr uint16_t kBytesPerSample = 2;
constexpr uint16_t kBitsPerSample = 16;

bool WriteId(std::FILE* stream, const char* id) { return std::fwrite(id, 1, 4, stream) == 4; }

uint32_t DataBytes(uint32_t sampleCount) { return sampleCount * kBytesPerSample; }

bool Fits(uint32_t sampleCount, uint32_t trailingBytes) {
  return sampleCount <= kMaxWavSamples &&
         trailingBytes <= 0xFFFFFFFFu - 36 - DataBytes(sampleCount);
}

constexpr uint32_t kSmplFixedBytes = 36;
constexpr uint32_t kSmplLoopBytes = 24;

}  // namespace

bool WriteLe16(std::FILE* stream, uint16_t value) {
  const unsigned char bytes[2] = {static_cast<unsigned char>(value),
                                  static_cast<unsigned char>(value >> 8)};
  return std::fwrite(bytes, 1, 2, stream) == 2;
}

bool WriteLe32(std::FILE* stream, uint32_t value) {
  return WriteLe16(stream, static_cast<uint16_t>(value)) &&
         WriteLe16(stream, static_cast<uint16_t>(value >> 16));
}

bool WriteWavHeader(std::FILE* stream, int sampleRate, uint32_t sampleCount,
                    uint32_t trailingBytes) {
  if (stream == nullptr || sampleRate < 0 || !Fits(sampleCount, trailingBytes)) return false;
  const uint32_t rate = static_cast<uint32_t>(sampleRate);
  return WriteId(stream, "RIFF") &&
         WriteLe32(stream, 36 + DataBytes(sampleCount) + trailingBytes) &&
         WriteId(stream, "WAVE") && WriteId(stream, "fmt ") && WriteLe32(stream, 16) &&
         WriteLe16(stream, kPcm) && WriteLe16(stream, kChannels) && WriteLe32(stream, rate) &&
         WriteLe32(stream, rate * kBytesPerSample) && WriteLe16(stream, kBytesPerSample) &&
         WriteLe16(stream, kBitsPerSample) && WriteId(stream, "data") &&
         WriteLe32(stream, DataBytes(sampleCount));
}

bool RewriteWavSizes(std::FILE* stream, uint32_t sampleCount, uint32_t trailingBytes) {
  if (stream == nullptr || !Fits(sampleCount, trailingBytes)) return false;
  bool written = std::fseek(stream, kRiffSizeOffset, SEEK_SET) == 0 &&
                 WriteLe32(stream, 36 + DataBytes(sampleCount) + trailingBytes) &&
                 std::fseek(stream, kDataSizeOffset, SEEK_SET) == 0 &&
                 WriteLe32(stream, DataBytes(sampleCount));
  bool atEnd = std::fseek(stream, 0, SEEK_END) == 0;
  return written && atEnd && std::fflush(stream) == 0;
}

uint32_t SmplChunkBytes(const SmplChunk& chunk) {
  return 8 + kSmplFixedBytes + (chunk.hasLoop ? kSmplLoopBytes : 0);
}

// Manufacturer and product 0 (none), no pitch fraction, no SMPTE offset, no sampler data; the
// loop has cue point 0, no fraction and plays for ever.
bool WriteSmplChunk(std::FILE* stream, const SmplChunk& chunk) {
  const uint32_t loops = chunk.hasLoop ? 1 : 0;
  bool ok = WriteId(stream, "smpl") && WriteLe32(stream, SmplChunkBytes(chunk) - 8) &&
            WriteLe32(stream, 0) && WriteLe32(stream, 0) &&
            WriteLe32(stream, chunk.samplePeriodNs) && WriteLe32(stream, chunk.unityNote) &&
            WriteLe32(stream, 0) && WriteLe32(stream, 0) && WriteLe32(stream, 0) &&
            WriteLe32(stream, loops) && WriteLe32(stream, 0);
  if (ok && chunk.hasLoop) {
    ok = WriteLe32(stream, 0) && WriteLe32(stream, chunk.loopType) &&
         WriteLe32(stream, chunk.loopStart) && WriteLe32(stream, chunk.loopLast) &&
         WriteLe32(stream, 0) && WriteLe32(stream, 0);
  }
  return ok;
}

}  // namespace kelvora::transfer
