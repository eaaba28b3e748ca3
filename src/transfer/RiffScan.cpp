#include "transfer/RiffScan.h"

#include <cstring>

namespace kelvora::transfer {
namespace {

constexpr uint32_t kUnknownLength = 0xFFFFFFFF;  // the data size a streaming writer gives
// A file of more chunks than this before its data is not one anybody wrote on purpose.
constexpr int kMaxChunks = 4096;

uint32_t Le32(const uint8_t* bytes) {
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
         static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

bool IsId(const uint8_t* id, const char* expected) { return std::memcmp(id, expected, 4) == 0; }

}  // namespace

RiffFacts ScanRiff(const ByteReader& read, uint64_t size) {
  RiffFacts facts;
  uint8_t head[12];
  if (size < sizeof head || !read(0, head, sizeof head) || !IsId(head, "RIFF") ||
      !IsId(head + 8, "WAVE")) {
    return facts;
  }
  facts.riff = true;
  bool formatSeen = false;
  uint64_t at = sizeof head;
  for (int chunks = 0; chunks < kMaxChunks && at + 8 <= size; ++chunks) {
    uint8_t chunk[8];
    if (!read(at, chunk, sizeof chunk)) break;
    const uint32_t length = Le32(chunk + 4);
    at += sizeof chunk;
    if (IsId(chunk, "data")) {
      facts.cutShort = length != kUnknownLength && length > size - at;
      break;
    }
    if (IsId(chunk, "fmt ")) {
      formatSeen = true;
      facts.morlavineLoopEnd.reset();
    }
    uint8_t body[8];
    if (IsId(chunk, "mrlv") && formatSeen && length >= sizeof body && read(at, body, sizeof body)) {
      facts.morlavineLoopEnd = body[0] | body[1] << 8;
      facts.morlavineParam = body[6] | body[7] << 8;
    }
    at += length + (length & 1);
  }
  return facts;
}

}  // namespace kelvora::transfer
