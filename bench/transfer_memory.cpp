// P4: peak resident memory of a round trip of 10 000 samples and of 4 Mi samples, each in a
// process of its own, with the sampler in a further process. The transfers stream the file
// block by block, so the two peaks should differ by little. The cable is a plain socket driver
// (see SocketMidiDriver).
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "protocol/Eps.h"
#include "support/ScopedDriver.h"
#include "transfer_harness.h"

namespace {

using namespace kelvora;
using namespace kelvora::bench;

// The child's part: one round trip, then "peak-kB ok-flag" on standard output.
int RoundTripProcess(int64_t samples) {
  sim::SimOptions options;
  options.model = sim::SamplerModel::Asr10;
  options.memoryWords = 8 * 1024 * 1024;
  options.demoContent = false;
  SamplerProcess sampler(options);
  SocketMidiDriver driver(sampler);
  const std::string source = TempPath("memory.wav");
  const std::string back = TempPath("memory-back.wav");
  WriteSignalFile(source, samples);
  bool ok = false;
  {
    kelvora::testing::ScopedDriver useDriver(driver);
    QuietUi ui;
    protocol::TEps eps(ui);
    eps.BlockSize = protocol::kSampleBufferWords;
    const Timed up = TimedUpload(eps, source, transfer::UploadChoices{}, [] {});
    const Timed down = TimedDownload(eps, back, [] {});
    ok = up.result.Succeeded() && down.result.Succeeded() && SameSamples(source, back);
    eps.MidiIn->Close();
    eps.MidiOut->Close();
  }
  std::remove(source.c_str());
  std::remove(back.c_str());
  std::printf("%ld %d\n", PeakResidentKb(), ok ? 1 : 0);
  return ok ? 0 : 1;
}

// Runs this program again for one size and reads its answer.
bool Measure(int64_t samples, long& peakKb) {
  char self[PATH_MAX] = {};
  if (::readlink("/proc/self/exe", self, sizeof self - 1) <= 0) return false;
  const std::string command = std::string("'") + self + "' --run " + std::to_string(samples);
  std::FILE* child = ::popen(command.c_str(), "r");
  if (child == nullptr) return false;
  int ok = 0;
  const bool read = std::fscanf(child, "%ld %d", &peakKb, &ok) == 2;
  return ::pclose(child) == 0 && read && ok == 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--run") == 0) {
    return RoundTripProcess(std::atoll(argv[2]));
  }
  long small = 0;
  long large = 0;
  const bool ok = Measure(10000, small) && Measure(4 * 1024 * 1024, large);
  std::printf("%-12s %12s\n", "samples", "peak RSS kB");
  std::printf("%-12d %12ld\n", 10000, small);
  std::printf("%-12d %12ld\n", 4 * 1024 * 1024, large);
  std::printf("difference: %ld kB (%s)\n", large - small, ok ? "both bit-exact" : "FAILED");
  return ok ? 0 : 1;
}
