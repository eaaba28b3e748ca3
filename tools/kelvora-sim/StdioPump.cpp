#include "kelvora-sim/StdioPump.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>

#include "kelvora-sim/Report.h"
#include "kelvora-sim/SamplerHost.h"
#include "kelvora-sim/StreamWriter.h"
#include "sim/WireTiming.h"

namespace kelvora::simcli {

namespace {
constexpr size_t kReadSize = 4096;
constexpr std::chrono::milliseconds kIdleCheck{100};
}  // namespace

int StdioPump::Run(const CliOptions& options) {
  StreamWriter writer(output_, latch_);
  SamplerHost host(options,
                   [&writer](const uint8_t* data, size_t size) { writer.Write(data, size); });
  if (!host.Start()) return 1;
  // Paced, the sampler takes each piece once its last byte would be off the wire, so a long
  // message arrives over time as on a cable, rather than all at once.
  const End end = Pump(host, options.sim.paced ? sim::kPacedPieceBytes : kReadSize);
  if (end == End::Input) Drain(host);
  const bool saved = host.Stop();
  return saved && end != End::Failed && !writer.Failed() ? 0 : 1;
}

StdioPump::End StdioPump::Pump(SamplerHost& host, size_t piece) {
  uint8_t buffer[kReadSize];
  pollfd fds[2] = {{input_, POLLIN, 0}, {latch_.Fd(), POLLIN, 0}};
  for (;;) {
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      Report(std::string("cannot wait for input: ") + std::strerror(errno));
      return End::Failed;
    }
    if (fds[1].revents) return End::Shutdown;
    if (!fds[0].revents) continue;
    const ssize_t n = read(input_, buffer, sizeof buffer);
    if (n == 0) return End::Input;
    if (n < 0 && errno != EINTR && errno != EAGAIN) {
      Report(std::string("cannot read standard input: ") + std::strerror(errno));
      return End::Failed;
    }
    for (ssize_t offset = 0; offset < n; offset += static_cast<ssize_t>(piece)) {
      host.Receive(buffer + offset, std::min(piece, static_cast<size_t>(n - offset)));
    }
  }
}

// At the end of the input the answers to what came before it are still owed; a signal or a
// failed write cuts the wait short.
void StdioPump::Drain(SamplerHost& host) {
  while (!host.WaitIdle(kIdleCheck)) {
    if (latch_.Requested()) return;
  }
}

}  // namespace kelvora::simcli
