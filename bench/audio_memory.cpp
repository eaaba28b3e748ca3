// Peak resident memory of converting a 1-second and a 10-minute file (11025 Hz 24-bit stereo
// FLAC, resampled to 11160.7 Hz), each in a process of its own. The conversion streams the file
// block by block, so the two peaks should be within 2 MB of each other.
#include <sndfile.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "audio_files.h"
#include "transfer_harness.h"

namespace {

using namespace kelvora::bench;

constexpr int kRate = 11025;
constexpr int kFormat = SF_FORMAT_FLAC | SF_FORMAT_PCM_24;

int ConvertProcess(const char* path) {
  const int64_t words = ConvertAll(path);
  std::printf("%ld %lld\n", PeakResidentKb(), static_cast<long long>(words));
  return words > 0 ? 0 : 1;
}

bool Measure(const std::string& path, long& peakKb, long long& words) {
  char self[PATH_MAX] = {};
  if (::readlink("/proc/self/exe", self, sizeof self - 1) <= 0) return false;
  const std::string command = std::string("'") + self + "' --run '" + path + "'";
  std::FILE* child = ::popen(command.c_str(), "r");
  if (child == nullptr) return false;
  const bool read = std::fscanf(child, "%ld %lld", &peakKb, &words) == 2;
  return ::pclose(child) == 0 && read;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--run") == 0) return ConvertProcess(argv[2]);
  const std::string shortFile = TempPath("second.flac");
  const std::string longFile = TempPath("ten-minutes.flac");
  bool ok = WriteToneFile(shortFile, kFormat, kRate, 2, 1) &&
            WriteToneFile(longFile, kFormat, kRate, 2, 600);
  long small = 0, large = 0;
  long long smallWords = 0, largeWords = 0;
  ok = ok && Measure(shortFile, small, smallWords) && Measure(longFile, large, largeWords);
  std::filesystem::remove(shortFile);
  std::filesystem::remove(longFile);
  std::printf("%-12s %12s %12s\n", "file", "words", "peak RSS kB");
  std::printf("%-12s %12lld %12ld\n", "1 s", smallWords, small);
  std::printf("%-12s %12lld %12ld\n", "10 min", largeWords, large);
  std::printf("difference: %ld kB (%s)\n", large - small,
              !ok                     ? "FAILED"
              : large - small <= 2048 ? "within 2 MB"
                                      : "MORE than 2 MB");
  return ok && large - small <= 2048 ? 0 : 1;
}
