#include "transfer/SoundFile.h"

#include <algorithm>

namespace kelvora::transfer {
SoundFile::~SoundFile() { Close(); }

bool SoundFile::Open(const std::string& path) {
  Close();
  info_ = {};
  return Opened(sf_open(path.c_str(), SFM_READ, &info_));
}

bool SoundFile::OpenMemory(const uint8_t* data, size_t size) {
  Close();
  info_ = {};
  memory_ = {data, static_cast<sf_count_t>(size), 0};
  SF_VIRTUAL_IO io = MemoryIo();
  return Opened(sf_open_virtual(&io, SFM_READ, &info_, &memory_));
}

bool SoundFile::Opened(SNDFILE* file) {
  file_ = file;
  if (file_ != nullptr) {
    error_.clear();
    return true;
  }
  error_ = sf_strerror(nullptr);
  return false;
}

void SoundFile::Close() {
  if (file_ != nullptr) sf_close(file_);
  file_ = nullptr;
}

FileMarks SoundFile::Marks() const {
  FileMarks marks;
  SF_INSTRUMENT instrument{};
  if (file_ == nullptr ||
      sf_command(file_, SFC_GET_INSTRUMENT, &instrument, sizeof instrument) != SF_TRUE) {
    return marks;
  }
  // libsndfile keeps the key in a char; a stored key above 127 is no MIDI key.
  const int key = static_cast<unsigned char>(instrument.basenote);
  if (key <= 127) marks.rootKey = key;
  const int loops = std::clamp(instrument.loop_count, 0, 16);
  for (int i = 0; i < loops; ++i) {
    const auto& loop = instrument.loops[i];
    if (loop.mode != SF_LOOP_FORWARD || loop.end <= loop.start) continue;
    if (loop.end > static_cast<unsigned>(std::max<int64_t>(info_.frames, 0))) continue;
    marks.loop = SourceLoop{static_cast<int>(loop.start), static_cast<int>(loop.end), {}};
    break;
  }
  return marks;
}

int64_t SoundFile::Read(float* buffer, int64_t frames) {
  if (file_ == nullptr) return -1;
  const sf_count_t read = sf_readf_float(file_, buffer, frames);
  if (read > 0) return read;
  return sf_error(file_) == SF_ERR_NO_ERROR ? 0 : -1;
}

bool SoundFile::Rewind() { return file_ != nullptr && sf_seek(file_, 0, SEEK_SET) == 0; }

// libsndfile's virtual I/O over the bytes in memory_.
SF_VIRTUAL_IO SoundFile::MemoryIo() {
  SF_VIRTUAL_IO io{};
  io.get_filelen = [](void* user) { return static_cast<Memory*>(user)->size; };
  io.seek = [](sf_count_t offset, int whence, void* user) {
    Memory& m = *static_cast<Memory*>(user);
    const sf_count_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? m.position : m.size;
    if (offset < -base || offset > m.size - base) return sf_count_t{-1};
    m.position = base + offset;
    return m.position;
  };
  io.read = [](void* buffer, sf_count_t count, void* user) {
    Memory& m = *static_cast<Memory*>(user);
    const sf_count_t n = std::clamp<sf_count_t>(count, 0, m.size - m.position);
    std::copy_n(m.data + m.position, n, static_cast<uint8_t*>(buffer));
    m.position += n;
    return n;
  };
  io.write = [](const void*, sf_count_t, void*) { return sf_count_t{0}; };
  io.tell = [](void* user) { return static_cast<Memory*>(user)->position; };
  return io;
}

}  // namespace kelvora::transfer
