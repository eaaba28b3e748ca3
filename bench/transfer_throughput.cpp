// P3: upload and download of 1 Mi samples through the in-process simulated sampler with no
// pacing, in samples per second: how much the program's own work costs per sample.
#include <cstdio>
#include <string>

#include "protocol/Eps.h"
#include "sim/SimMidiDriver.h"
#include "support/ScopedDriver.h"
#include "transfer_harness.h"

int main() {
  using namespace kelvora;
  using namespace kelvora::bench;
  constexpr int64_t kSamples = 1 << 20;
  sim::SimOptions options;
  options.model = sim::SamplerModel::Asr10;
  options.memoryWords = 4 * kSamples;
  options.demoContent = false;
  sim::SimMidiDriver driver(options);
  const std::string source = TempPath("throughput.wav");
  const std::string back = TempPath("throughput-back.wav");
  WriteSignalFile(source, kSamples);
  bool ok = false;
  {
    kelvora::testing::ScopedDriver useDriver(driver);
    QuietUi ui;
    protocol::TEps eps(ui);
    eps.BlockSize = protocol::kSampleBufferWords;
    std::printf("%-9s %6s %9s %9s %12s\n", "transfer", "block", "samples", "took s", "samples/s");
    double total = 0;
    for (int round = 0; round < 2; ++round) {
      transfer::UploadChoices choices;
      choices.waveSample = round + 1;
      const Timed up = TimedUpload(eps, source, choices, [] {});
      const Timed down = TimedDownload(eps, back, [] {});
      ok = up.result.Succeeded() && down.result.Succeeded() && SameSamples(source, back);
      std::printf("%-9s %6d %9lld %9.3f %12.0f\n", "upload", eps.BlockSize,
                  static_cast<long long>(kSamples), up.seconds, kSamples / up.seconds);
      std::printf("%-9s %6d %9lld %9.3f %12.0f\n", "download", eps.BlockSize,
                  static_cast<long long>(kSamples), down.seconds, kSamples / down.seconds);
      total = up.seconds + down.seconds;
    }
    // The second round, with the devices and the sampler warmed up, is the one reported.
    std::printf("round trip: %.0f samples/s (%s)\n", 2 * kSamples / total,
                ok ? "bit-exact" : "FAILED");
    eps.MidiIn->Close();
    eps.MidiOut->Close();
  }
  std::remove(source.c_str());
  std::remove(back.c_str());
  return ok ? 0 : 1;
}
