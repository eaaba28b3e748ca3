#include "transfer/wav_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace kelvora::transfer::test {

Bytes Le16(unsigned value) { return {uint8_t(value), uint8_t(value >> 8)}; }

Bytes Le32(uint32_t value) {
  return {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
}

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Bytes Text(const char* text) { return Bytes(text, text + std::char_traits<char>::length(text)); }

Bytes FmtBody(int tag, int channels, int rate, int bits, int blockAlign, size_t extra) {
  return Le16(tag) + Le16(channels) + Le32(rate) + Le32(rate * blockAlign) + Le16(blockAlign) +
         Le16(bits) + Bytes(extra, 0);
}

Bytes ChunkOf(const char* id, const Bytes& body) {
  Bytes chunk = Text(id) + Le32(static_cast<uint32_t>(body.size())) + body;
  if (body.size() % 2 != 0) chunk.push_back(0);
  return chunk;
}

Bytes RiffOf(const Bytes& chunks) {
  return Text("RIFF") + Le32(static_cast<uint32_t>(chunks.size() + 4)) + Text("WAVE") + chunks;
}

void Save(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

Bytes Load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool HaveSox() { return std::system("command -v sox >/dev/null 2>&1") == 0; }

bool RunSox(const std::string& arguments) {
  return std::system(("sox " + arguments + " 2>/dev/null").c_str()) == 0;
}

}  // namespace kelvora::transfer::test
