#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace kelvora::fuzz {

// Removes the folder when the process exits normally. A crash leaves it as it was, next to the
// input that caused it. The path is kept on the heap: the caller's static string is destroyed
// before exit handlers registered during its construction run.
inline void RemoveAtExit(const std::string& path) {
  static const std::string* const folder = new std::string(path);
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(*folder, ignored);
  });
}

// A folder of this process for the files a fuzz input becomes: under $KELVORA_FUZZ_SCRATCH
// when set, else in memory (/dev/shm, else /tmp). It goes when the fuzzer ends.
inline const std::string& ScratchDir() {
  static const std::string dir = [] {
    const char* chosen = std::getenv("KELVORA_FUZZ_SCRATCH");
    const std::string base = chosen && *chosen               ? chosen
                             : access("/dev/shm", W_OK) == 0 ? "/dev/shm"
                                                             : "/tmp";
    const std::string path = base + "/kelvora-fuzz-" + std::to_string(getpid());
    mkdir(path.c_str(), 0700);
    RemoveAtExit(path);
    return path;
  }();
  return dir;
}

inline void WriteBytes(const std::string& path, const uint8_t* data, size_t size) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace kelvora::fuzz
