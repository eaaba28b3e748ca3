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
// start). trailingBytes are the bytes of the chunks that follow the data, which the RIFF size
// counts too. False for a negative rate or more samples than the sizes can announce.
bool WriteWavHeader(std::FILE* stream, int sampleRate, uint32_t sampleCount,
                    uint32_t trailingBytes = 0);

// Rewrites the RIFF and data sizes of a header written at the stream's start so that they
// announce sampleCount samples and trailingBytes after them, then returns to the end of the
// stream. A download that stops early calls it with the samples actually written.
bool RewriteWavSizes(std::FILE* stream, uint32_t sampleCount, uint32_t trailingBytes = 0);

// What a `smpl` chunk tells: the MIDI unity note, the sample period and at most one loop, its
// end the last sample it plays (the chunk's end is inclusive).
struct SmplChunk {
  uint32_t samplePeriodNs = 0;
  uint32_t unityNote = 60;
  bool hasLoop = false;
  uint32_t loopType = 0;  // 0 forward, 1 alternating
  uint32_t loopStart = 0;
  uint32_t loopLast = 0;
};
// Bytes the chunk takes in the file, its id and size included.
uint32_t SmplChunkBytes(const SmplChunk& chunk);
bool WriteSmplChunk(std::FILE* stream, const SmplChunk& chunk);

}  // namespace kelvora::transfer
