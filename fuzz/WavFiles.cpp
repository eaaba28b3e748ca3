#include "WavFiles.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "FuzzCheck.h"

namespace kelvora::fuzz {
namespace {

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint32_t Le32(const std::vector<uint8_t>& bytes, size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t{bytes[at + 3]} << 24;
}

// Whether the bytes from `at` on are whole RIFF chunks (id, size, body padded to an even length)
// that end exactly at the end of the file, as the metadata a download writes after its samples.
bool ChunksFill(const std::vector<uint8_t>& bytes, uint64_t at) {
  while (at + 8 <= bytes.size()) {
    const uint64_t body = Le32(bytes, at + 4);
    at += 8 + body + body % 2;
  }
  return at == bytes.size();
}

}  // namespace

void WriteTestWav(const std::string& path, int channels, int bits, int frames) {
  const uint32_t align = static_cast<uint32_t>(channels * bits / 8);
  const uint32_t dataBytes = align * static_cast<uint32_t>(frames);
  std::vector<uint8_t> out = {'R', 'I', 'F', 'F'};
  PutLe(out, 36 + dataBytes, 4);
  for (char c : std::string("WAVEfmt ")) out.push_back(static_cast<uint8_t>(c));
  PutLe(out, 16, 4);
  PutLe(out, 1, 2);
  PutLe(out, static_cast<uint32_t>(channels), 2);
  PutLe(out, 44100, 4);
  PutLe(out, 44100 * align, 4);
  PutLe(out, align, 2);
  PutLe(out, static_cast<uint32_t>(bits), 2);
  for (char c : std::string("data")) out.push_back(static_cast<uint8_t>(c));
  PutLe(out, dataBytes, 4);
  for (uint32_t i = 0; i < dataBytes; ++i) out.push_back(static_cast<uint8_t>(i * 37));
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
}

void CheckDownloadedFile(const std::string& path, int64_t samples) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
  Require(bytes.size() >= 44, "a downloaded file without a whole header");
  Require(Le32(bytes, 4) == bytes.size() - 8, "the RIFF size does not match the file");
  const uint64_t dataBytes = Le32(bytes, 40);
  Require(dataBytes <= bytes.size() - 44, "the data size runs past the end of the file");
  Require(int64_t(dataBytes) == 2 * samples, "the file holds other samples than reported");
  Require(ChunksFill(bytes, 44 + dataBytes + dataBytes % 2),
          "what follows the samples is not whole chunks up to the end of the file");
}

}  // namespace kelvora::fuzz
