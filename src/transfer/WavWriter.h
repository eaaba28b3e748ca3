#pragma once

#include <cstdint>
#include <cstdio>

// Writing the mono 16-bit PCM WAV files a download produces: a 44-byte header, then the
// samples as signed 16-bit little-endian words. Every function returns false when the stream
// refuses a byte (disk full, not seekable), so a failed write is never taken for a file.
namespace kelvora::transfer {

constexpr long kWavHeaderBytes = 44;
// The most samples whose sizes still fit the header's 32-bit fields.
constexpr uint32_t kMaxWavSamples = (0xFFFFFFFFu - 36) / 2;

bool WriteLe16(std::FILE* stream, uint16_t value);
bool WriteLe32(std::FILE* stream, uint32_t value);

// The header for sampleCount samples at sampleRate Hz, at the stream's current position (its
// start). False for a negative rate or more than kMaxWavSamples samples.
bool WriteWavHeader(std::FILE* stream, int sampleRate, uint32_t sampleCount);

// Rewrites the RIFF and data sizes of a header written at the stream's start so that they
// announce sampleCount samples, then returns to the end of the stream. A download that stops
// early calls it with the samples actually written.
bool RewriteWavSizes(std::FILE* stream, uint32_t sampleCount);

}  // namespace kelvora::transfer
