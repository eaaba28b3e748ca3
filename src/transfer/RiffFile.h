#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace kelvora::transfer {

// Reads a RIFF WAVE file for upload: the "fmt " chunk, an optional Morlavine ("mrlv") chunk,
// then the frames of the "data" chunk one by one. Hostile files fail cleanly: a chunk running
// past the end of the file, a short format chunk and a block align of 0 are refused, and a
// data chunk longer than the file counts only the whole frames the file really holds.
class TRiffFile {
 public:
  TRiffFile() = default;
  ~TRiffFile();
  TRiffFile(const TRiffFile&) = delete;
  TRiffFile& operator=(const TRiffFile&) = delete;

  bool IsOpen = false;
  std::string FileName;
  int FormatTag = 0;
  int Channels = 0;
  int SampleRate = 0;  // frames per second
  int ByteRate = 0;
  int BlockAlign = 0;  // bytes per frame
  int BitsPerSample = 0;
  int FrameCount = 0;
  bool IsMorlavine = false;  // a Morlavine chunk followed the format chunk
  // The data chunk announces more bytes than the file holds (and not the unknown length of a
  // streamed file): FrameCount counts only those held.
  bool CutShort = false;
  int64_t AnnouncedFrames = 0;
  int MorlavineLoopEnd = 0;
  int MorlavineWord2 = 0;
  int MorlavineWord3 = 0;
  int MorlavineParam = 0;

  void SetFileName(const std::string& name);  // closes the file first
  bool Open();                                // reopens FileName for reading
  void Close();
  // Parses up to the "data" chunk. On true the file stays open at the first frame; on false it
  // is closed and LastError() tells why.
  bool ReadHeader();
  // Reads the next frame's BlockAlign bytes into frame; false once FrameCount frames have been
  // read, on a read error, or when capacity is smaller than BlockAlign.
  bool ReadFrame(uint8_t* frame, size_t capacity);
  // Why the latest ReadHeader failed, in words for a person ("not a RIFF file", ...); empty
  // after a successful one.
  const std::string& LastError() const { return error_; }

 private:
  struct Chunk {
    char id[4];
    uint32_t size;
  };

  bool Fail(const std::string& reason);
  void ResetFormat();
  bool ReadBytes(void* buffer, size_t count);
  bool ReadChunk(Chunk& chunk);
  bool Skip(uint64_t count);
  bool ReadFormat(const Chunk& chunk, bool& formatSeen);
  bool ReadMorlavine(const Chunk& chunk);
  bool StartData(const Chunk& chunk, bool formatSeen);
  uint64_t Remaining() const;

  std::FILE* file_ = nullptr;
  uint64_t fileSize_ = 0;
  uint64_t position_ = 0;
  int64_t framesLeft_ = 0;
  std::string error_;
};

}  // namespace kelvora::transfer
