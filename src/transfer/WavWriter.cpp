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

bool WriteWavHeader(std::FILE* stream, int sampleRate, uint32_t sampleCount) {
  if (stream == nullptr || sampleRate < 0 || sampleCount > kMaxWavSamples) return false;
  const uint32_t rate = static_cast<uint32_t>(sampleRate);
  return WriteId(stream, "RIFF") && WriteLe32(stream, 36 + DataBytes(sampleCount)) &&
         WriteId(stream, "WAVE") && WriteId(stream, "fmt ") && WriteLe32(stream, 16) &&
         WriteLe16(stream, kPcm) && WriteLe16(stream, kChannels) && WriteLe32(stream, rate) &&
         WriteLe32(stream, rate * kBytesPerSample) && WriteLe16(stream, kBytesPerSample) &&
         WriteLe16(stream, kBitsPerSample) && WriteId(stream, "data") &&
         WriteLe32(stream, DataBytes(sampleCount));
}

bool RewriteWavSizes(std::FILE* stream, uint32_t sampleCount) {
  if (stream == nullptr || sampleCount > kMaxWavSamples) return false;
  bool written = std::fseek(stream, kRiffSizeOffset, SEEK_SET) == 0 &&
                 WriteLe32(stream, 36 + DataBytes(sampleCount)) &&
                 std::fseek(stream, kDataSizeOffset, SEEK_SET) == 0 &&
                 WriteLe32(stream, DataBytes(sampleCount));
  bool atEnd = std::fseek(stream, 0, SEEK_END) == 0;
  return written && atEnd && std::fflush(stream) == 0;
}

}  // namespace kelvora::transfer
