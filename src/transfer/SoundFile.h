#pragma once

#include <sndfile.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "transfer/UploadSource.h"

namespace kelvora::transfer {

// An audio file read through libsndfile, from a path or from bytes in memory: its format, its
// instrument data (loops, root key) and its frames as floats of full scale 1.0.
class SoundFile {
 public:
  SoundFile() = default;
  ~SoundFile();
  SoundFile(const SoundFile&) = delete;
  SoundFile& operator=(const SoundFile&) = delete;

  // False with Error() saying why when libsndfile cannot read the file.
  bool Open(const std::string& path);
  // The bytes must stay where they are while the file is open.
  bool OpenMemory(const uint8_t* data, size_t size);
  void Close();
  bool IsOpen() const { return file_ != nullptr; }
  const std::string& Error() const { return error_; }

  int64_t Frames() const { return info_.frames; }
  int Rate() const { return info_.samplerate; }
  int Channels() const { return info_.channels; }
  int Format() const { return info_.format; }
  // The first forward loop (end exclusive) and the root key of the file's instrument data
  // (WAV smpl, AIFF INST and MARK), in the file's frames.
  FileMarks Marks() const;

  // Reads up to `frames` interleaved frames; returns how many, 0 at the end, -1 on an error.
  int64_t Read(float* buffer, int64_t frames);
  // Back to the first frame; false when the file cannot seek.
  bool Rewind();

 private:
  struct Memory {
    const uint8_t* data = nullptr;
    sf_count_t size = 0;
    sf_count_t position = 0;
  };
  static SF_VIRTUAL_IO MemoryIo();
  bool Opened(SNDFILE* file);

  SNDFILE* file_ = nullptr;
  SF_INFO info_{};
  Memory memory_;
  std::string error_;
};

}  // namespace kelvora::transfer
