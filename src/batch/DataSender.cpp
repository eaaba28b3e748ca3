#include "batch/DataSender.h"

#include <algorithm>
#include <vector>

#include "batch/StatusText.h"
#include "batch/WavSamples.h"
#include "midi/Midiin.h"
#include "midi/PortError.h"

namespace kelvora::batch {

using namespace protocol;

namespace {

constexpr unsigned kResponseBytes = 8;
constexpr int kDelayStepMs = 100;
constexpr int kMaxDelayMs = 4000;

}  // namespace

DataSender::DataSender(TEps& eps, JobProgress& progress, uint32_t stallLimitMs)
    : eps_(eps),
      progress_(progress),
      watch_(progress, *eps.MidiIn, stallLimitMs),
      loop_(eps, watch_, {}) {}

StepOutcome DataSender::Send(const Target& target, const std::string& path) {
  StepOutcome outcome;
  WavSamples samples;
  if (!samples.Open(path, outcome.message)) return outcome;
  eps_.Instrument = target.instrument;
  eps_.Layer = target.layer;
  eps_.WaveSample = target.waveSample;
  watch_.Start(samples.Count());
  const int block = loop_.BlockSize();
  std::vector<int16_t> buffer(static_cast<size_t>(block));
  int sent = 0;
  try {
    for (int n; (n = samples.Read(buffer.data(), block)) > 0; sent += n) {
      for (int i = 0; i < n; ++i) eps_.SampleBuffer[i] = buffer[i] & 0xFFFF;
      if (!SendBlock(sent, sent + n, outcome)) break;
      progress_.FileProgress(sent + n);
    }
  } catch (const midi::PortError& error) {
    outcome.message = error.what();
  }
  if (outcome.message.empty() && samples.Failed()) {
    outcome.message = "'" + path + "' could not be read to its end.";
  }
  if (!outcome.message.empty() || outcome.status == StepStatus::Cancelled) {
    loop_.DropLateInput();
    return outcome;
  }
  outcome.status = StepStatus::Done;
  outcome.data.samples = sent;
  return outcome;
}

bool DataSender::SendBlock(int start, int end, StepOutcome& outcome) {
  for (;;) {
    if (watch_.Cancelled()) return Stopped(outcome);
    if (eps_.Delay > 0 && !loop_.Pause(static_cast<uint32_t>(eps_.Delay))) return Stopped(outcome);
    eps_.SendPutWsData(start, end);
    if (!AwaitReply(outcome)) return false;
    const int result = eps_.ProcessInput();
    if (result == prSlowDown) {
      eps_.Delay = std::min(eps_.Delay + kDelayStepMs, kMaxDelayMs);
      continue;
    }
    if (result != prAck) break;
    eps_.SendDataMessage(eps_.SampleBuffer, end - start);
    watch_.Touch();  // the block took its time on the wire
    if (!AwaitReply(outcome)) return false;
    if (eps_.ProcessInput() == prAck) return true;
    break;
  }
  outcome.message = "The sampler refused the samples " + std::to_string(start) + " to " +
                    std::to_string(end) + " (" + StatusText(eps_.LastResponseCode()) + ").";
  return false;
}

// Waits for a response without holding up a Cancel.
bool DataSender::AwaitReply(StepOutcome& outcome) {
  while (!loop_.InputReady(kResponseBytes)) {
    loop_.Pump();
    if (watch_.Cancelled()) return Stopped(outcome);
  }
  return true;
}

bool DataSender::Stopped(StepOutcome& outcome) {
  if (watch_.Stalled()) {
    outcome.status = StepStatus::Stalled;
    outcome.message = TransferWatch::StallMessage();
  } else {
    outcome.status = StepStatus::Cancelled;
  }
  return false;
}

}  // namespace kelvora::batch
