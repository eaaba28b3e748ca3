// The actions of the upload's states; the loop and the dispatch are in UploadEngine.cpp.
#include <algorithm>

#include "diagnostics/Debugdevice.h"
#include "midi/Clock.h"
#include "transfer/TransferPaths.h"
#include "transfer/UploadEngine.h"
#include "transfer/UploadParams.h"

namespace kelvora::transfer {

using diagnostics::DebugLine;
using namespace protocol;

namespace {

constexpr unsigned kResponseBytes = 8;
constexpr int kSlowDownStepMs = 100;
constexpr int kMaxDelayMs = 4000;
// Parameter numbers (page 8 x 256 + item) of the wavesample's key range.
constexpr int kLowKeyParameter = 2059;
constexpr int kHighKeyParameter = 2060;

std::string ResultText(int result) {
  switch (result) {
    case prNothing:
    case prNothingAfterWait:
      return "no answer";
    case prResponse23:
      return "the sampler found the transfer garbled";
    case prNoInstrument:
      return "no such instrument";
    case prNoLayer:
      return "no such layer";
    case prInvalidWs:
      return "no such wavesample";
    case prUnknownResponse:
      return "the sampler refused it, for example because its memory is full";
    default:
      return "the sampler reported an error";
  }
}

}  // namespace

void UploadEngine::Prepare() {
  PrepareUploadParams(eps_.WsParams, *source_, choices_);
  sent_ = 0;
  eps_.UploadState = usReadBlock;
}

void UploadEngine::ReadBlock() {
  if (filler_->Fill(eps_.SampleBuffer, loop_.BlockSize()) < 0) {
    return Fail("The file '" + source_->FileName() + "' could not be read after " +
                std::to_string(filler_->Read()) + " samples.");
  }
  eps_.UploadState = usSendDataHeader;
}

// The pause the sampler asked for comes before each block; Cancel is still seen during it.
void UploadEngine::SendDataHeader() {
  // The delay comes from the preferences file; whatever it says, a block waits 0..4 s.
  const int delay = std::clamp(eps_.Delay, 0, kMaxDelayMs);
  if (delay > 0 && !loop_.Pause(static_cast<uint32_t>(delay))) return;
  eps_.SendPutWsData(sent_, filler_->Read());
  eps_.UploadState = usWaitHeaderAck;
  AwaitReply(usCheckHeaderAck);
}

void UploadEngine::AwaitReply(int next) {
  if (loop_.InputReady(kResponseBytes)) eps_.UploadState = next;
}

void UploadEngine::CheckHeaderAck() {
  const int result = eps_.ProcessInput();
  switch (result) {
    case prAck:
      eps_.UploadState = usSendData;
      return;
    case prNoInstrument:
      eps_.UploadState = usCreateInstrument;
      return;
    case prNoLayer:
      eps_.UploadState = usCreateLayer;
      return;
    case prInvalidWs:
      eps_.UploadState = usCreateWs;
      return;
    case prSlowDown:
      return SlowDown();
    default:
      return Fail("The sampler did not take the samples " + std::to_string(sent_) + " to " +
                  std::to_string(filler_->Read()) + ": " + ResultText(result) + ".");
  }
}

void UploadEngine::SlowDown() {
  eps_.Delay = std::min(eps_.Delay + kSlowDownStepMs, kMaxDelayMs);
  DebugLine("Delay set to" + std::to_string(eps_.Delay));
  eps_.UploadState = usSendDataHeader;
}

void UploadEngine::SendData() {
  if (sent_ == 0) startTick_ = midi::TickCount();
  eps_.SendDataMessage(eps_.SampleBuffer, filler_->Read() - sent_);
  eps_.UploadState = usWaitDataAck;
}

void UploadEngine::CheckDataAck() {
  const int result = eps_.ProcessInput();
  if (result != prAck) {
    return Fail("The samples " + std::to_string(sent_) + " to " + std::to_string(filler_->Read()) +
                " did not go through: " + ResultText(result) + ".");
  }
  ReportProgress();
  sent_ = filler_->Read();
  eps_.UploadState = sent_ == filler_->Total() ? usSendParamsHeader : usReadBlock;
}

void UploadEngine::CheckParamsHeaderAck() {
  const int result = eps_.ProcessInput();
  if (result == prAck) {
    eps_.UploadState = usSendParams;
  } else {
    Fail("The sampler did not take the wavesample's parameters: " + ResultText(result) + ".");
  }
}

// The samples are in; the record's answer does not change what happens next.
void UploadEngine::CheckParamsAck() {
  eps_.ProcessInput();
  eps_.UploadState = usRename;
}

// Each kind of object is created at most once: a sampler that still reports it missing
// afterwards would otherwise keep the upload creating it for ever.
void UploadEngine::StartCreation(bool& done, void (TEps::*send)(), const char* what) {
  if (done) {
    return Fail(std::string("The sampler still reports the ") + what +
                " missing after creating it.");
  }
  done = true;
  (eps_.*send)();
  eps_.UploadState = eps_.UploadState + 1;
}

void UploadEngine::CheckCreation(const char* what, bool selectInstrument) {
  const int result = eps_.ProcessInput();
  if (result != prAck) {
    return Fail(std::string("The sampler could not create the ") + what + ": " +
                ResultText(result) + ".");
  }
  eps_.UploadState = usSendDataHeader;
  if (!selectInstrument) return;
  eps_.SelectInstrument();
  if (eps_.Kind() == SamplerKind::Unknown && source_->WordBits() != 0) LearnModel();
}

// An empty sampler tells its model only in the record of an instrument, and the first block was
// made before there was one: a model that keeps fewer bits gets that block made again for it.
void UploadEngine::LearnModel() {
  const int before = source_->WordBits();
  if (!eps_.FetchInstrumentParams(eps_.Instrument) || SampleBits(eps_.Kind()) == before) return;
  if (sent_ != 0) return;
  if (!MatchWordLength()) return Fail(failure_);
  filler_->Restart();
  eps_.UploadState = usReadBlock;
}

void UploadEngine::Rename() {
  if (eps_.WaveSample == 1) {
    eps_.RenameInstrument(eps_.Instrument, NameBeforeFirstDot(source_->FileName()));
  }
  eps_.UploadState = usSetKeyRange;
}

void UploadEngine::SetKeyRange() {
  if (choices_.range != KeyRangeMode::Full) {
    const bool custom = choices_.range == KeyRangeMode::Custom;
    const int low = custom ? choices_.loKey : choices_.rootKey;
    const int high = custom ? choices_.hiKey : choices_.rootKey;
    eps_.PutParameter(kLowKeyParameter, static_cast<unsigned>(low));
    eps_.WaitOneSecond();
    eps_.PutParameter(kHighKeyParameter, static_cast<unsigned>(high));
    eps_.WaitOneSecond();
  }
  complete_ = true;
  eps_.UploadState = usIdle;
}

void UploadEngine::ReportProgress() {
  const TimeLeft estimate =
      TimeLeftEstimate(midi::TickCount() - startTick_, filler_->Read(), source_->FrameCount());
  progress_.UpdateProgress(estimate.secondsLeft, estimate.percent);
  progress_.UpdateSamples(std::min<int64_t>(filler_->Read(), source_->FrameCount()),
                          source_->FrameCount());
}

}  // namespace kelvora::transfer
