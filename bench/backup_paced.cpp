// Backup of the demo sampler through a simulated sampler paced at 31250 baud, in a process of
// its own. The minimum is the wire time of the bytes the protocol must move for it, counted from
// what was backed up: for each of the 8 instrument slots its GET and the answer (the record
// exchange, or a status for an empty slot), the record exchange of every layer and wavesample,
// and for every wavesample that holds data its samples in blocks of the block size, each block
// a GET, ACK, data header, the host's ACK and the data message. One request is outstanding at a
// time, so the two directions do not overlap and every byte costs 320 µs. The target is a
// backup within 1.03 times that minimum.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "batch/BackupJob.h"
#include "batch/BackupReader.h"
#include "protocol/Eps.h"
#include "protocol/Sysex.h"
#include "support/ScopedDriver.h"
#include "transfer_harness.h"

namespace {

using namespace kelvora;
using namespace kelvora::bench;

constexpr double kWireBytesPerSecond = 3125;
constexpr double kTarget = 1.03;
// Blocks of the largest size the session takes, unless the command line names another.
int blockSize = 10240;

constexpr int64_t kResponse = 8;       // F0 0F 03 ch 01 00 code F7
constexpr int64_t kRecordGet = 12;     // GET with instrument, layer, wavesample
constexpr int64_t kRecordHeader = 12;  // the sampler's PUT header of a record
constexpr int64_t kDataGet = 20;       // GET WAVESAMPLE DATA with its range
constexpr int64_t kDataHeader = 20;

// GET, ACK, header, the host's ACK, the record.
int64_t RecordExchange(int words) {
  return kRecordGet + kResponse + kRecordHeader + kResponse +
         static_cast<int64_t>(protocol::DataMessageSize(words));
}

int64_t DataExchanges(int64_t samples) {
  int64_t bytes = 0;
  for (int64_t at = 0; at < samples; at += blockSize) {
    const int64_t block = std::min<int64_t>(blockSize, samples - at);
    bytes += kDataGet + kResponse + kDataHeader + kResponse +
             static_cast<int64_t>(protocol::DataMessageSize(block));
  }
  return bytes;
}

int64_t MinimumBytes(const batch::Snapshot& backup, int64_t& samples) {
  int64_t bytes = (8 - static_cast<int64_t>(backup.instruments.size())) * (kRecordGet + kResponse);
  samples = 0;
  for (const batch::InstrumentImage& instrument : backup.instruments) {
    bytes += RecordExchange(protocol::kInstrParamWords);
    bytes +=
        static_cast<int64_t>(instrument.layers.size()) * RecordExchange(protocol::kLayerParamWords);
    for (const batch::WaveSampleImage& ws : instrument.waveSamples) {
      bytes += RecordExchange(protocol::kWsParamWords);
      if (!ws.data) continue;
      samples += ws.data->samples;
      bytes += DataExchanges(ws.data->samples);
    }
  }
  return bytes;
}

bool Run(protocol::TEps& eps, SocketMidiDriver& driver, const std::string& folder) {
  batch::SilentProgress progress;
  batch::BackupJob job(eps, progress);
  driver.ResetCounts();
  const double start = NowSeconds();
  const double cpu = CpuSeconds();
  const batch::JobResult result = job.Run(folder);
  const double seconds = NowSeconds() - start;
  const double cpuSeconds = CpuSeconds() - cpu;
  batch::BackupContents contents;
  std::string failure;
  if (!result.Succeeded() || !batch::ReadBackup(batch::BackupFolder(folder), contents, failure)) {
    std::printf("backup failed: %s%s\n", result.message.c_str(), failure.c_str());
    return false;
  }
  int64_t samples = 0;
  const int64_t minimumBytes = MinimumBytes(contents.snapshot, samples);
  const uint64_t moved = driver.BytesToSampler() + driver.BytesFromSampler();
  const double minimum = double(minimumBytes) / kWireBytesPerSecond;
  std::printf("%-8s %6s %8s %10s %10s %9s %9s %7s %6s\n", "files", "block", "samples", "min bytes",
              "moved", "min s", "took s", "ratio", "cpu");
  std::printf("%-8d %6d %8lld %10lld %10llu %9.3f %9.3f %7.4f %5.2f%%\n", result.filesTransferred,
              blockSize, static_cast<long long>(samples), static_cast<long long>(minimumBytes),
              static_cast<unsigned long long>(moved), minimum, seconds, seconds / minimum,
              100 * cpuSeconds / seconds);
  const bool fast = seconds <= kTarget * minimum;
  std::printf("target %.2f x the minimum: %s\n", kTarget, fast ? "met" : "MISSED");
  return fast;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) blockSize = std::atoi(argv[1]);
  sim::SimOptions options;
  options.paced = true;
  SamplerProcess sampler(options);  // forks: before any thread exists
  SocketMidiDriver driver(sampler);
  bool ok = false;
  const std::string folder = TempPath("backup-bench");
  std::filesystem::remove_all(folder);
  {
    kelvora::testing::ScopedDriver useDriver(driver);
    QuietUi ui;
    protocol::TEps eps(ui);
    eps.BlockSize = blockSize;
    if (eps.OpenDevices()) {
      ok = Run(eps, driver, folder);
    } else {
      std::printf("the simulated sampler does not answer\n");
    }
    eps.MidiIn->Close();
    eps.MidiOut->Close();
  }
  std::filesystem::remove_all(folder);
  return ok ? 0 : 1;
}
