// The converted path's speed: 96 kHz 24-bit stereo read, mixed to mono, resampled by libsoxr
// (very high quality) to 48 kHz and dithered to 16 bits, against the 1042 samples per second
// the MIDI wire carries.
#include <sndfile.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "audio_files.h"
#include "transfer_harness.h"

int main() {
  using namespace kelvora::bench;
  constexpr int kSeconds = 30;
  constexpr int kRate = 96000;
  const std::string path = TempPath("conversion.wav");
  if (!WriteToneFile(path, SF_FORMAT_WAV | SF_FORMAT_PCM_24, kRate, 2, kSeconds)) return 1;
  const auto start = std::chrono::steady_clock::now();
  const int64_t words = ConvertAll(path);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::filesystem::remove(path);
  if (words < 0) {
    std::printf("conversion FAILED\n");
    return 1;
  }
  const double inputFrames = double(kSeconds) * kRate;
  std::printf("%-34s %10s %8s %14s %14s %10s\n", "conversion", "samples", "took s", "in frames/s",
              "out samples/s", "x wire");
  std::printf("%-34s %10lld %8.3f %14.0f %14.0f %10.0f\n", "96 kHz 24-bit stereo -> 48 kHz mono",
              static_cast<long long>(words), seconds, inputFrames / seconds, words / seconds,
              words / seconds / 1042.0);
  return 0;
}
