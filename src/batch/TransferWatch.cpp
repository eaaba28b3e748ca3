#include "batch/TransferWatch.h"

#include <algorithm>

#include "midi/Clock.h"
#include "midi/Midiin.h"

namespace kelvora::batch {

TransferWatch::TransferWatch(JobProgress& job, midi::TMidiIn& input, uint32_t stallLimitMs)
    : job_(job), input_(input), stallLimitMs_(stallLimitMs) {}

void TransferWatch::Start(int64_t samples) {
  samples_ = samples;
  stalled_ = userCancelled_ = false;
  Touch();
}

void TransferWatch::Touch() {
  lastActivity_ = midi::TickCount();
  lastAvailable_ = input_.BytesAvailable();
}

void TransferWatch::ShowProgress() { Touch(); }

void TransferWatch::UpdateProgress(float, float) { Touch(); }

// The engine counts the samples through itself, so the job sees every one of them, not steps
// of a percent.
void TransferWatch::UpdateSamples(int64_t done, int64_t) {
  job_.FileProgress(std::min(samples_, done));
}

// Bytes that arrived, or were taken from the input, since the last look count as life.
bool TransferWatch::Cancelled() {
  if (job_.Cancelled()) userCancelled_ = true;
  const unsigned available = input_.BytesAvailable();
  if (available != lastAvailable_) Touch();
  if (!userCancelled_ && midi::TickCount() - lastActivity_ > stallLimitMs_) stalled_ = true;
  return userCancelled_ || stalled_;
}

std::string TransferWatch::StallMessage() {
  return "The sampler stopped answering in the middle of a transfer (is the MIDI cable still "
         "connected and the sampler switched on?).";
}

}  // namespace kelvora::batch
