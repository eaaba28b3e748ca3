// P1 and P2: upload and download through a simulated sampler on a cable paced at 31250 baud.
// P1 is the measured time over the protocol's own minimum: every byte that crossed the cable,
// in both directions (one request is outstanding at a time, so they do not overlap), at 3125
// bytes a second, plus the sampler's configured latency (0 here). P2 is the process's CPU time
// over the wall time of the same transfer. The sampler runs in a process of its own and times
// the wire itself, so its work is not counted as the program's.
#include <cstdio>
#include <string>

#include "protocol/Eps.h"
#include "support/ScopedDriver.h"
#include "transfer_harness.h"

namespace {

using namespace kelvora;
using namespace kelvora::bench;

constexpr double kWireBytesPerSecond = 3125;

struct Row {
  const char* direction;
  int blockSize;
  int64_t samples;
  uint64_t bytes;
  double seconds;
  double cpu;
};

void Print(const Row& row) {
  const double minimum = double(row.bytes) / kWireBytesPerSecond;
  std::printf("%-9s %6d %8lld %9llu %9.3f %9.3f %7.4f %6.2f%%\n", row.direction, row.blockSize,
              static_cast<long long>(row.samples), static_cast<unsigned long long>(row.bytes),
              minimum, row.seconds, row.seconds / minimum, 100 * row.cpu / row.seconds);
  std::fflush(stdout);
}

// One block size: a fresh instrument gets a file of `samples` samples, then it comes back.
bool Run(protocol::TEps& eps, SocketMidiDriver& driver, int blockSize, int64_t samples,
         int instrument) {
  eps.BlockSize = blockSize;
  const std::string source = TempPath("paced.wav");
  const std::string back = TempPath("paced-back.wav");
  WriteSignalFile(source, samples);
  transfer::UploadChoices choices;
  choices.instrument = instrument;
  double cpu = 0;
  auto start = [&] {
    driver.ResetCounts();
    cpu = CpuSeconds();
  };
  const Timed up = TimedUpload(eps, source, choices, start);
  Print({"upload", blockSize, samples, driver.BytesToSampler() + driver.BytesFromSampler(),
         up.seconds, CpuSeconds() - cpu});
  const Timed down = TimedDownload(eps, back, start);
  Print({"download", blockSize, samples, driver.BytesToSampler() + driver.BytesFromSampler(),
         down.seconds, CpuSeconds() - cpu});
  const bool ok = up.result.Succeeded() && down.result.Succeeded() && SameSamples(source, back);
  if (!ok) {
    std::printf("transfer failed: %s%s\n", up.result.message.c_str(), down.result.message.c_str());
  }
  std::remove(source.c_str());
  std::remove(back.c_str());
  return ok;
}

}  // namespace

int main() {
  sim::SimOptions options;
  options.paced = true;
  SamplerProcess sampler(options);  // forks: before any thread exists
  SocketMidiDriver driver(sampler);
  bool ok = true;
  {
    kelvora::testing::ScopedDriver useDriver(driver);
    QuietUi ui;
    protocol::TEps eps(ui);
    std::printf("%-9s %6s %8s %9s %9s %9s %7s %7s\n", "transfer", "block", "samples", "bytes",
                "min s", "took s", "ratio", "cpu");
    // Sized so that each transfer takes well under a minute: 10240 samples are about 10 s of
    // wire time each way; the largest block gets two blocks' worth.
    ok = Run(eps, driver, 256, 10240, 3) && ok;
    ok = Run(eps, driver, 1024, 10240, 4) && ok;
    ok = Run(eps, driver, 10240, 20480, 5) && ok;
    eps.MidiIn->Close();
    eps.MidiOut->Close();
  }
  return ok ? 0 : 1;
}
