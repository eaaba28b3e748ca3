#include "transfer/UploadEngine.h"

#include <algorithm>

#include "diagnostics/Debugdevice.h"
#include "midi/InputDump.h"
#include "midi/PortError.h"
#include "transfer/RiffUploadSource.h"
#include "transfer/UploadCheck.h"

namespace kelvora::transfer {

using diagnostics::DebugLine;
using namespace protocol;

UploadEngine::UploadEngine(TEps& eps, TransferProgress& progress, TransferLoop::EventPump pump)
    : eps_(eps), progress_(progress), loop_(eps, progress, std::move(pump)) {}

bool UploadEngine::Begin() {
  if (!eps_.OpenDevices()) return false;
  eps_.CloseWs();
  return true;
}

TransferResult UploadEngine::Upload(const UploadChoices& choices, TRiffFile& file) {
  const std::string refusal = UploadRefusal(file);
  if (!refusal.empty()) {
    DebugLine("Upload refused: " + refusal);
    file.Close();
    return {TransferOutcome::Refused, "The file cannot be uploaded: " + refusal + ".", 0};
  }
  RiffUploadSource source(file, choices.channelMode);
  return Upload(choices, source);
}

TransferResult UploadEngine::Upload(const UploadChoices& choices, UploadSource& source) {
  if (const std::string refusal = ChoicesRefusal(choices); !refusal.empty()) {
    DebugLine("Upload refused: " + refusal);
    source.Close();
    return {TransferOutcome::Refused, "The file cannot be uploaded: " + refusal + ".", 0};
  }
  choices_ = choices;
  source_ = &source;
  filler_.emplace(source);
  sent_ = 0;
  createdInstrument_ = createdLayer_ = createdWaveSample_ = complete_ = false;
  failure_.clear();
  if (!MatchWordLength()) {
    source.Close();
    return {TransferOutcome::Failed, failure_, 0};
  }
  eps_.Instrument = choices.instrument;
  eps_.Layer = choices.layer;
  eps_.WaveSample = choices.waveSample;
  LogTarget();
  if (eps_.WsInUse[eps_.Instrument][eps_.WaveSample - 1]) {
    DebugLine("Deleting old WaveSample");
    eps_.DeleteWaveSample(eps_.Instrument, eps_.WaveSample);
  }
  const std::optional<SourceLoop> loop = source.Loop();
  const bool morlavine = loop && loop->morlavineParam;
  progress_.SetCaption(morlavine ? "Uploading Morlavine file ..." : "Uploading ...");
  progress_.ShowProgress();
  return Run();
}

TransferResult UploadEngine::Run() {
  eps_.UploadState = usPrepare;
  // A port that stops sending ends the run like any other failure, so the file is closed.
  const bool cancelled = loop_.Run(eps_.UploadState, "State ", "", [this] {
    try {
      Act();
    } catch (const midi::PortError& error) {
      Fail(error.what());
    }
  });
  midi::WriteInputDump(*eps_.MidiIn);
  if (!complete_) loop_.DropLateInput();
  source_->Close();
  progress_.HideProgress();
  LogTarget();
  const int64_t acknowledged = std::min(sent_, source_->FrameCount());
  if (complete_) return {TransferOutcome::Done, {}, acknowledged};
  if (cancelled) return {TransferOutcome::Cancelled, {}, acknowledged};
  return {TransferOutcome::Failed, failure_, acknowledged};
}

// A source that quantizes makes its words for the model the session knows; before anything
// has been read, starting again costs nothing.
bool UploadEngine::MatchWordLength() {
  const int bits = SampleBits(eps_.Kind());
  if (source_->WordBits() == 0 || source_->WordBits() == bits) return true;
  DebugLine("Sample bits " + std::to_string(bits));
  if (source_->Restart(bits)) return true;
  failure_ = "The file '" + source_->FileName() + "' could not be read again.";
  return false;
}

void UploadEngine::LogTarget() const {
  DebugLine("Instrument " + std::to_string(eps_.Instrument));
  DebugLine("Layer " + std::to_string(eps_.Layer));
  DebugLine("WaveSample " + std::to_string(eps_.WaveSample));
}

void UploadEngine::Act() {
  const int state = eps_.UploadState;
  if (state <= usCheckDataAck) return ActOnData();
  if (state <= usCheckParamsAck) return ActOnParams();
  if (state <= usCheckCreateWs) return ActOnCreation();
  if (state == usRename) return Rename();
  if (state == usSetKeyRange) return SetKeyRange();
  Fail("Unknown upload state " + std::to_string(state));
}

void UploadEngine::ActOnData() {
  switch (eps_.UploadState) {
    case usPrepare:
      return Prepare();
    case usReadBlock:
      return ReadBlock();
    case usSendDataHeader:
      return SendDataHeader();
    case usWaitHeaderAck:
      return AwaitReply(usCheckHeaderAck);
    case usCheckHeaderAck:
      return CheckHeaderAck();
    case usSendData:
      return SendData();
    case usWaitDataAck:
      return AwaitReply(usCheckDataAck);
    default:
      return CheckDataAck();
  }
}

void UploadEngine::ActOnParams() {
  switch (eps_.UploadState) {
    case usSendParamsHeader:
      eps_.SendPutWsParams();
      eps_.UploadState = usWaitParamsHeaderAck;
      return;
    case usWaitParamsHeaderAck:
      return AwaitReply(usCheckParamsHeaderAck);
    case usCheckParamsHeaderAck:
      return CheckParamsHeaderAck();
    case usSendParams:
      eps_.SendDataMessage(eps_.WsParams, kWsParamWords);
      eps_.UploadState = usWaitParamsAck;
      return;
    case usWaitParamsAck:
      return AwaitReply(usCheckParamsAck);
    default:
      return CheckParamsAck();
  }
}

void UploadEngine::ActOnCreation() {
  switch (eps_.UploadState) {
    case usCreateInstrument:
      eps_.Layer = 0;
      eps_.WaveSample = 1;
      return StartCreation(createdInstrument_, &TEps::SendCreateInstrument, "instrument");
    case usCreateLayer:
      return StartCreation(createdLayer_, &TEps::SendCreateLayer, "layer");
    case usCreateWs:
      return StartCreation(createdWaveSample_, &TEps::SendCreateWaveSample, "wavesample");
    case usWaitCreateInstrument:
    case usWaitCreateLayer:
    case usWaitCreateWs:
      return AwaitReply(eps_.UploadState + 1);
    case usCheckCreateInstrument:
      return CheckCreation("instrument", true);
    case usCheckCreateLayer:
      return CheckCreation("layer", false);
    default:
      return CheckCreation("wavesample", false);
  }
}

void UploadEngine::Fail(const std::string& reason) {
  if (failure_.empty()) failure_ = reason;
  eps_.UploadState = usIdle;
}

}  // namespace kelvora::transfer
