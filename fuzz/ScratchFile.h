#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

namespace kelvora::fuzz {

// A folder of this process for the files a fuzz input becomes: under $KELVORA_FUZZ_SCRATCH
// when set (the scripts remove it afterwards), else in memory (/dev/shm, else /tmp).
inline const std::string& ScratchDir() {
  static const std::string dir = [] {
    const char* chosen = std::getenv("KELVORA_FUZZ_SCRATCH");
    const std::string base = chosen && *chosen                   ? chosen
                             : access("/dev/shm", W_OK) == 0 ? "/dev/shm"
                                                             : "/tmp";
    const std::string path = base + "/kelvora-fuzz-" + std::to_string(getpid());
    mkdir(path.c_str(), 0700);
    return path;
  }();
  return dir;
}

inline void WriteBytes(const std::string& path, const uint8_t* data, size_t size) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace kelvora::fuzz
