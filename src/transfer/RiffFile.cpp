#include "transfer/RiffFile.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace kelvora::transfer {
namespace {

constexpr uint32_t kFormatBytes = 16;  // the part of "fmt " this reader uses
constexpr uint32_t kMorlavineBytes = 8;
constexpr uint32_t kUnknownLength = 0xFFFFFFFF;  // the data size a streaming writer gives
constexpr int kPcm = 1;

uint16_t Le16(const uint8_t* bytes) { return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); }

uint32_t Le32(const uint8_t* bytes) {
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
         static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

bool IsId(const char* id, const char* expected) { return std::memcmp(id, expected, 4) == 0; }

std::string Printable(const char* id) {
  std::string text(id, 4);
  for (char& c : text)
    if (c < 0x20 || c > 0x7E) c = '?';
  return text;
}

std::string FormatName(int tag) {
  switch (tag) {
    case 2:
      return " (ADPCM)";
    case 3:
      return " (floating point)";
    case 6:
      return " (A-law)";
    case 7:
      return " (mu-law)";
    case 0x11:
      return " (IMA ADPCM)";
    case 0x55:
      return " (MPEG layer 3)";
    case 0xFFFE:
      return " (extensible)";
    default:
      return "";
  }
}

std::string NotPcm(int tag) {
  char number[16];
  std::snprintf(number, sizeof number, tag > 0xFF ? "0x%04X" : "%d", tag);
  return "format tag " + std::string(number) + FormatName(tag) + " is not PCM";
}

}  // namespace

TRiffFile::~TRiffFile() { Close(); }

void TRiffFile::SetFileName(const std::string& name) {
  Close();
  FileName = name;
}

bool TRiffFile::Open() {
  Close();
  file_ = std::fopen(FileName.c_str(), "rb");
  IsOpen = file_ != nullptr;
  position_ = 0;
  framesLeft_ = 0;
  return IsOpen;
}

void TRiffFile::Close() {
  if (IsOpen && file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  IsOpen = false;
  framesLeft_ = 0;
}

bool TRiffFile::ReadHeader() {
  ResetFormat();
  error_.clear();
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(FileName, ignored)) return Fail("no such file");
  if (!Open()) return Fail("the file cannot be opened");
  if (std::fseek(file_, 0, SEEK_END) != 0) return Fail("the file cannot be read");
  long size = std::ftell(file_);
  if (size < 0 || std::fseek(file_, 0, SEEK_SET) != 0) return Fail("the file cannot be read");
  fileSize_ = static_cast<uint64_t>(size);

  uint8_t head[12];
  if (!ReadBytes(head, sizeof head) || !IsId(reinterpret_cast<char*>(head), "RIFF"))
    return Fail("not a RIFF file");
  if (!IsId(reinterpret_cast<char*>(head + 8), "WAVE")) return Fail("not a WAVE file");
  bool formatSeen = false;
  for (;;) {
    Chunk chunk;
    if (!ReadChunk(chunk))
      return Fail(formatSeen ? "the file has no data chunk" : "the file has no format chunk");
    if (IsId(chunk.id, "data")) return StartData(chunk, formatSeen);
    if (chunk.size > Remaining())
      return Fail("chunk '" + Printable(chunk.id) + "' runs past the end of the file");
    bool read = IsId(chunk.id, "fmt ")   ? ReadFormat(chunk, formatSeen)
                : IsId(chunk.id, "mrlv") ? ReadMorlavine(chunk)
                                         : Skip(chunk.size);
    // RIFF pads an odd-sized chunk to an even length; the pad may be missing at the very end.
    if (!read || ((chunk.size & 1) != 0 && !Skip(std::min<uint64_t>(1, Remaining()))))
      return error_.empty() ? Fail("the file cannot be read") : false;
  }
}

bool TRiffFile::ReadFrame(uint8_t* frame, size_t capacity) {
  if (!IsOpen || framesLeft_ <= 0 || BlockAlign <= 0 || capacity < size_t(BlockAlign)) return false;
  if (!ReadBytes(frame, size_t(BlockAlign))) {
    framesLeft_ = 0;
    return false;
  }
  --framesLeft_;
  return true;
}

bool TRiffFile::Fail(const std::string& reason) {
  error_ = reason;
  Close();
  return false;
}

void TRiffFile::ResetFormat() {
  FormatTag = Channels = SampleRate = ByteRate = BlockAlign = BitsPerSample = FrameCount = 0;
  IsMorlavine = false;
  CutShort = false;
  AnnouncedFrames = 0;
  MorlavineLoopEnd = MorlavineWord2 = MorlavineWord3 = MorlavineParam = 0;
}

bool TRiffFile::ReadBytes(void* buffer, size_t count) {
  if (file_ == nullptr || std::fread(buffer, 1, count, file_) != count) return false;
  position_ += count;
  return true;
}

bool TRiffFile::ReadChunk(Chunk& chunk) {
  uint8_t head[8];
  if (!ReadBytes(head, sizeof head)) return false;
  std::memcpy(chunk.id, head, 4);
  chunk.size = Le32(head + 4);
  return true;
}

bool TRiffFile::Skip(uint64_t count) {
  if (count > Remaining()) return false;
  if (count == 0) return true;
  if (std::fseek(file_, static_cast<long>(count), SEEK_CUR) != 0) return false;
  position_ += count;
  return true;
}

bool TRiffFile::ReadFormat(const Chunk& chunk, bool& formatSeen) {
  if (chunk.size < kFormatBytes) return Fail("the format chunk is too short");
  uint8_t body[kFormatBytes];
  if (!ReadBytes(body, sizeof body)) return Fail("the format chunk is cut short");
  IsMorlavine = false;
  FormatTag = Le16(body);
  Channels = Le16(body + 2);
  SampleRate = static_cast<int>(Le32(body + 4));
  ByteRate = static_cast<int>(Le32(body + 8));
  BlockAlign = Le16(body + 12);
  if (FormatTag != kPcm) return Fail(NotPcm(FormatTag));
  BitsPerSample = Le16(body + 14);
  formatSeen = true;
  return Skip(chunk.size - kFormatBytes);
}

bool TRiffFile::ReadMorlavine(const Chunk& chunk) {
  if (chunk.size < kMorlavineBytes) return Skip(chunk.size);
  uint8_t body[kMorlavineBytes];
  if (!ReadBytes(body, sizeof body)) return false;
  MorlavineLoopEnd = Le16(body);
  MorlavineWord2 = Le16(body + 2);
  MorlavineWord3 = Le16(body + 4);
  MorlavineParam = Le16(body + 6);
  IsMorlavine = true;
  return Skip(chunk.size - kMorlavineBytes);
}

bool TRiffFile::StartData(const Chunk& chunk, bool formatSeen) {
  if (!formatSeen) return Fail("the data chunk comes before the format chunk");
  if (BlockAlign == 0) return Fail("the format chunk gives a block align of 0");
  // A file cut short (a stopped recording or copy) keeps the whole frames it really holds.
  uint64_t bytes = std::min<uint64_t>(chunk.size, Remaining());
  // A streaming writer that cannot know the length announces 0xFFFFFFFF bytes.
  CutShort = bytes < chunk.size && chunk.size != kUnknownLength;
  AnnouncedFrames = static_cast<int64_t>(chunk.size / BlockAlign);
  FrameCount = static_cast<int>(std::min<uint64_t>(bytes / uint64_t(BlockAlign), INT_MAX));
  if (FrameCount == 0) return Fail("the data chunk holds no samples");
  framesLeft_ = FrameCount;
  return true;
}

uint64_t TRiffFile::Remaining() const { return position_ < fileSize_ ? fileSize_ - position_ : 0; }

}  // namespace kelvora::transfer
