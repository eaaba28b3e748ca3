#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/TempFolder.h"

namespace kelvora::transfer::test {

using Bytes = std::vector<uint8_t>;

using kelvora::testing::TempFolder;

Bytes Le16(unsigned value);
Bytes Le32(uint32_t value);
Bytes operator+(Bytes a, const Bytes& b);
Bytes Text(const char* text);  // its characters, without the terminator

// A "fmt " body: tag, channels, rate, byte rate, block align, bits, then `extra` zero bytes.
Bytes FmtBody(int tag, int channels, int rate, int bits, int blockAlign, size_t extra = 0);
// A chunk: id, the body's size, the body, and the pad byte after an odd-sized body.
Bytes ChunkOf(const char* id, const Bytes& body);
// "RIFF", a size (ignored by the reader), "WAVE", then the chunks.
Bytes RiffOf(const Bytes& chunks);

void Save(const std::string& path, const Bytes& bytes);
Bytes Load(const std::string& path);

// Runs sox with the arguments; false when sox is missing or fails.
bool HaveSox();
bool RunSox(const std::string& arguments);

}  // namespace kelvora::transfer::test
