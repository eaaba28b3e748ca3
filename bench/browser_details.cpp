// The browser's lists and its lazy details through a simulated sampler paced at 31250 baud, in
// a process of its own, with ten wavesamples in instrument 1 (the demo's three and seven made
// here).
//
// Lists: the configuration read that fills the browser's lists, timed as the browser runs it
// without the details (as before they existed) and with the detail reader present and idle, as
// the browser runs it now; the target is no later than before (within 2 %, the run's noise).
// A reopening while records are being read waits for the exchange under way; that case is
// shown, with its limit of one record exchange.
//
// Details: the ten records read by the detail reader from the event loop, against the wire time
// of their ten exchanges (GET, ACK, the PUT header, the host's ACK, the 139-word record; one
// request outstanding at a time, so every byte costs 320 µs). Target: within 1.05 times that.
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "batch/SamplerCommands.h"
#include "protocol/Eps.h"
#include "protocol/Sysex.h"
#include "protocol/WsDetailReader.h"
#include "support/ScopedDriver.h"
#include "transfer_harness.h"

namespace {

using namespace kelvora;
using namespace kelvora::bench;

constexpr double kWireBytesPerSecond = 3125;
constexpr double kListsTarget = 1.02;
constexpr double kDetailsTarget = 1.05;
constexpr int kWaveSamples = 10;
constexpr int kRuns = 3;

constexpr int64_t kResponse = 8;    // F0 0F 03 ch 01 00 code F7
constexpr int64_t kRecordGet = 12;  // GET with instrument, layer, wavesample
constexpr int64_t kRecordHeader = 12;

int64_t RecordExchange() {
  return kRecordGet + kResponse + kRecordHeader + kResponse +
         static_cast<int64_t>(protocol::DataMessageSize(protocol::kWsParamWords));
}

std::vector<protocol::Target> Targets() {
  std::vector<protocol::Target> targets;
  for (int n = 1; n <= kWaveSamples; ++n) targets.push_back(protocol::Target{0, 0, n});
  return targets;
}

// Seconds until every queued record has arrived or failed; false when one failed.
bool ReadDetails(protocol::WsDetailReader& reader, double& seconds) {
  int arrived = 0;
  int failed = 0;
  QEventLoop loop;
  auto count = [&](int* counter) {
    ++*counter;
    if (arrived + failed == kWaveSamples) loop.quit();
  };
  auto a = QObject::connect(&reader, &protocol::WsDetailReader::Arrived, &loop,
                            [&] { count(&arrived); });
  auto f =
      QObject::connect(&reader, &protocol::WsDetailReader::Failed, &loop, [&] { count(&failed); });
  QTimer::singleShot(60000, &loop, &QEventLoop::quit);
  const double start = NowSeconds();
  reader.Queue(Targets());
  loop.exec();
  seconds = NowSeconds() - start;
  QObject::disconnect(a);
  QObject::disconnect(f);
  return arrived == kWaveSamples;
}

double TimedLists(protocol::TEps& eps, protocol::WsDetailReader* reader) {
  double best = 1e9;
  for (int run = 0; run < kRuns; ++run) {
    const double start = NowSeconds();
    if (reader != nullptr) reader->Stop();
    eps.ReadConfig();
    best = std::min(best, NowSeconds() - start);
  }
  return best;
}

// Stop while a record is on the wire, then the lists: what a reopening costs at worst.
double ListsDuringReading(protocol::TEps& eps, protocol::WsDetailReader& reader) {
  eps.WsRecords().ForgetInstrument(0);
  QEventLoop loop;
  auto first =
      QObject::connect(&reader, &protocol::WsDetailReader::Arrived, &loop, [&] { loop.quit(); });
  reader.Queue(Targets());
  loop.exec();
  QObject::disconnect(first);
  QCoreApplication::processEvents();  // the next request goes out
  const double start = NowSeconds();
  reader.Stop();
  eps.ReadConfig();
  return NowSeconds() - start;
}

bool Run(protocol::TEps& eps, SocketMidiDriver& driver) {
  batch::SamplerCommands commands(eps);
  for (int n = 4; n <= kWaveSamples; ++n) {
    if (!commands.CreateWaveSample(protocol::Target{0, 0, n})) {
      std::printf("wavesample %d was not made: %s\n", n, commands.Failure().c_str());
      return false;
    }
  }
  const double before = TimedLists(eps, nullptr);
  protocol::WsDetailReader reader(eps);
  const double now = TimedLists(eps, &reader);
  const bool listsMet = now <= kListsTarget * before;
  std::printf("lists: before %.3f s, with details %.3f s, ratio %.4f, target %.2f: %s\n", before,
              now, now / before, kListsTarget, listsMet ? "met" : "MISSED");

  eps.WsRecords().ForgetInstrument(0);
  driver.ResetCounts();
  const double cpu = CpuSeconds();
  double seconds = 0;
  if (!ReadDetails(reader, seconds)) {
    std::printf("a record did not arrive\n");
    return false;
  }
  const double cpuSeconds = CpuSeconds() - cpu;
  const int64_t minimumBytes = kWaveSamples * RecordExchange();
  const double minimum = double(minimumBytes) / kWireBytesPerSecond;
  const uint64_t moved = driver.BytesToSampler() + driver.BytesFromSampler();
  const bool detailsMet = seconds <= kDetailsTarget * minimum;
  std::printf(
      "details of %d: min bytes %lld, moved %llu, min %.3f s, took %.3f s, ratio %.4f, "
      "cpu %.2f%%, target %.2f: %s\n",
      kWaveSamples, static_cast<long long>(minimumBytes), static_cast<unsigned long long>(moved),
      minimum, seconds, seconds / minimum, 100 * cpuSeconds / seconds, kDetailsTarget,
      detailsMet ? "met" : "MISSED");
  const double reopened = ListsDuringReading(eps, reader);
  std::printf(
      "lists reopened while a record is read: %.3f s (before %.3f s + at most one "
      "record exchange, %.3f s)\n",
      reopened, before, double(RecordExchange()) / kWireBytesPerSecond);
  return listsMet && detailsMet;
}

}  // namespace

int main(int argc, char** argv) {
  sim::SimOptions options;
  options.paced = true;
  SamplerProcess sampler(options);  // forks: before any thread exists
  SocketMidiDriver driver(sampler);
  QCoreApplication app(argc, argv);
  bool ok = false;
  {
    kelvora::testing::ScopedDriver useDriver(driver);
    QuietUi ui;
    protocol::TEps eps(ui);
    if (eps.OpenDevices()) {
      ok = Run(eps, driver);
    } else {
      std::printf("the simulated sampler does not answer\n");
    }
    eps.MidiIn->Close();
    eps.MidiOut->Close();
  }
  return ok ? 0 : 1;
}
