#include "sim/SamplerStateFile.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "sim/SamplerStatus.h"

namespace kelvora::sim {

namespace {

using namespace protocol;

constexpr char kMagic[] = "KVSIMMEM";
constexpr size_t kMagicSize = 8;
constexpr int kVersion = 1;
constexpr size_t kCrcSize = 4;
// Larger than the biggest memory (8 Mi samples of 2 bytes) with all its records.
constexpr std::uintmax_t kMaxFileSize = 32u * 1024 * 1024;

uint32_t Crc32(const char* data, size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) {
    crc ^= static_cast<uint8_t>(data[i]);
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void PutU16(std::string& out, int value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void PutU32(std::string& out, uint32_t value) {
  PutU16(out, static_cast<int>(value & 0xFFFF));
  PutU16(out, static_cast<int>(value >> 16));
}

void PutWords(std::string& out, const int* words, int count) {
  for (int i = 0; i < count; ++i) PutU16(out, words[i]);
}

// Reads little-endian values and never past the end.
class Reader {
 public:
  Reader(const std::string& bytes, size_t begin, size_t end)
      : bytes_(bytes), end_(end), pos_(begin) {}

  bool U16(int& value) {
    if (end_ - pos_ < 2) return false;
    value = Byte(pos_) | (Byte(pos_ + 1) << 8);
    pos_ += 2;
    return true;
  }
  bool U32(uint32_t& value) {
    int low = 0, high = 0;
    if (!U16(low) || !U16(high)) return false;
    value = static_cast<uint32_t>(low) | (static_cast<uint32_t>(high) << 16);
    return true;
  }
  bool Words(int* words, int count) {
    for (int i = 0; i < count; ++i) {
      if (!U16(words[i])) return false;
    }
    return true;
  }
  bool Samples(WaveData& data, uint32_t count) {
    if ((end_ - pos_) / 2 < count) return false;  // checked before anything is allocated
    data.resize(count);
    for (int16_t& sample : data) {
      int word = 0;
      U16(word);
      sample = static_cast<int16_t>(word);
    }
    return true;
  }
  size_t Position() const { return pos_; }

 private:
  int Byte(size_t at) const { return static_cast<uint8_t>(bytes_[at]); }

  const std::string& bytes_;
  size_t end_;
  size_t pos_;
};

struct PendingCopy {
  int number;
  int layer;
  int source;
  WsRecord record;
};

void SerializeInstrument(std::string& out, int index, const InstrumentSlot& instrument) {
  PutU16(out, index);
  PutWords(out, instrument.record.data(), kInstrRecordWords);
  int layers = 0;
  for (const auto& layer : instrument.layers) layers += layer ? 1 : 0;
  PutU16(out, layers);
  for (int l = 0; l < kLayers; ++l) {
    if (!instrument.layers[l]) continue;
    PutU16(out, l);
    PutWords(out, instrument.layers[l]->record.data(), kLayerRecordWords);
  }
  int waveSamples = 0;
  for (const auto& slot : instrument.waveSamples) waveSamples += slot ? 1 : 0;
  PutU16(out, waveSamples);
  for (int w = 1; w <= kWaveSamples; ++w) {
    const auto& slot = instrument.waveSamples[w - 1];
    if (!slot) continue;
    PutU16(out, w);
    PutU16(out, slot->layer);
    PutU16(out, slot->copyOf);
    PutWords(out, slot->record.data(), kWsRecordWords);
    if (slot->copyOf != 0) continue;
    PutU32(out, static_cast<uint32_t>(slot->data->size()));
    for (int16_t sample : *slot->data) PutU16(out, static_cast<uint16_t>(sample));
  }
}

bool ReadLayers(Reader& in, SamplerMemory& memory, int index, std::string& error) {
  int count = 0;
  if (!in.U16(count) || count > kLayers) return (error = "bad layer count"), false;
  for (int n = 0; n < count; ++n) {
    int l = 0;
    LayerRecord record;
    if (!in.U16(l) || !in.Words(record.data(), kLayerRecordWords)) {
      return (error = "cut short in a layer"), false;
    }
    if (memory.AddLayer(index, l, "") != kAck) return (error = "bad or repeated layer"), false;
    memory.PutLayerRecord(index, l, record.data());
  }
  return true;
}

bool AddHolder(SamplerMemory& memory, int index, const PendingCopy& ws, WaveData data,
               std::string& error) {
  const int status = memory.AddWaveSample(index, ws.layer, ws.number, ws.record, std::move(data));
  if (status == kMemoryFull) error = "the saved samples do not fit this sampler's memory";
  if (status != kAck && status != kMemoryFull) error = "bad or repeated wavesample";
  return status == kAck;
}

bool ReadWaveSamples(Reader& in, SamplerMemory& memory, int index, std::string& error) {
  int count = 0;
  if (!in.U16(count) || count > kWaveSamples) return (error = "bad wavesample count"), false;
  std::vector<PendingCopy> copies;
  for (int n = 0; n < count; ++n) {
    PendingCopy ws{};
    if (!in.U16(ws.number) || !in.U16(ws.layer) || !in.U16(ws.source) ||
        !in.Words(ws.record.data(), kWsRecordWords)) {
      return (error = "cut short in a wavesample"), false;
    }
    if (ws.source != 0) {
      copies.push_back(ws);
      continue;
    }
    uint32_t size = 0;
    WaveData data;
    if (!in.U32(size) || !in.Samples(data, size))
      return (error = "cut short in sample data"), false;
    if (!AddHolder(memory, index, ws, std::move(data), error)) return false;
  }
  for (const PendingCopy& copy : copies) {
    const WaveSampleSlot* source = memory.WaveSample(index, copy.source);
    if (!source || source->copyOf != 0 ||
        memory.AddParameterCopy(index, copy.layer, copy.number, copy.source, copy.record) != kAck) {
      return (error = "a copy names no wavesample that holds data"), false;
    }
  }
  return true;
}

bool ReadInstrument(Reader& in, SamplerMemory& memory, std::string& error) {
  int index = 0;
  InstrumentRecord record;
  if (!in.U16(index) || !in.Words(record.data(), kInstrRecordWords)) {
    return (error = "cut short in an instrument"), false;
  }
  if (memory.AddInstrument(index, "") != kAck) return (error = "bad or repeated instrument"), false;
  memory.PutInstrumentRecord(index, record.data());
  return ReadLayers(in, memory, index, error) && ReadWaveSamples(in, memory, index, error);
}

bool ReadBody(Reader& in, SamplerMemory& memory, std::string& error) {
  int version = 0, model = 0, count = 0;
  if (!in.U16(version) || version != kVersion) return (error = "unknown format version"), false;
  if (!in.U16(model) || model > 2) return (error = "unknown sampler model"), false;
  if (!in.U16(count) || count > kInstruments) return (error = "bad instrument count"), false;
  for (int n = 0; n < count; ++n) {
    if (!ReadInstrument(in, memory, error)) return false;
  }
  return true;
}

}  // namespace

std::string SamplerStateFile::Serialize(const SamplerMemory& memory) {
  std::string out(kMagic, kMagicSize);
  PutU16(out, kVersion);
  PutU16(out, static_cast<int>(memory.Model()));
  int count = 0;
  for (int i = 0; i < kInstruments; ++i) count += memory.Instrument(i) ? 1 : 0;
  PutU16(out, count);
  for (int i = 0; i < kInstruments; ++i) {
    if (const InstrumentSlot* instrument = memory.Instrument(i)) {
      SerializeInstrument(out, i, *instrument);
    }
  }
  PutU32(out, Crc32(out.data(), out.size()));
  return out;
}

bool SamplerStateFile::Deserialize(SamplerMemory& memory, const std::string& bytes,
                                   std::string& error) {
  if (bytes.size() < kMagicSize + 6 + kCrcSize || bytes.compare(0, kMagicSize, kMagic) != 0) {
    error = "not a simulated sampler memory file";
    return false;
  }
  const size_t body = bytes.size() - kCrcSize;
  Reader trailer(bytes, body, bytes.size());
  uint32_t crc = 0;
  if (!trailer.U32(crc) || crc != Crc32(bytes.data(), body)) {
    error = "the file is damaged (checksum mismatch)";
    return false;
  }
  SamplerMemory fresh(memory.Model(), memory.CapacityWords());
  Reader in(bytes, kMagicSize, body);
  if (!ReadBody(in, fresh, error)) return false;
  if (in.Position() != body) {
    error = "unexpected bytes after the last instrument";
    return false;
  }
  memory = std::move(fresh);
  return true;
}

bool SamplerStateFile::Save(const SamplerMemory& memory, const std::string& path,
                            std::string& error) {
  const std::string temporary = path + ".tmp";
  const std::string bytes = Serialize(memory);
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
      error = "cannot write " + temporary;
      return false;
    }
  }
  std::error_code code;
  std::filesystem::rename(temporary, path, code);
  if (code) {
    std::filesystem::remove(temporary, code);
    error = "cannot replace " + path;
    return false;
  }
  return true;
}

bool SamplerStateFile::Load(SamplerMemory& memory, const std::string& path, std::string& error) {
  std::error_code code;
  const std::uintmax_t size = std::filesystem::file_size(path, code);
  if (code || size > kMaxFileSize) {
    error = code ? "cannot read " + path : path + " is too large";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof()) {
    error = "cannot read " + path;
    return false;
  }
  if (!Deserialize(memory, bytes, error)) {
    error = path + ": " + error;
    return false;
  }
  return true;
}

}  // namespace kelvora::sim
