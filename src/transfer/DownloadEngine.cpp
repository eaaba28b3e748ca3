#include "transfer/DownloadEngine.h"

#include <algorithm>

#include "diagnostics/Debugdevice.h"
#include "midi/Clock.h"
#include "midi/InputDump.h"
#include "midi/Midiin.h"
#include "midi/PortError.h"
#include "protocol/Records.h"
#include "protocol/Sysex.h"

namespace kelvora::transfer {

using diagnostics::DebugLine;
using diagnostics::DebugWrite;
using namespace protocol;

namespace {

constexpr unsigned kResponseBytes = 8;
constexpr unsigned kDataHeaderBytes = 20;

std::string CreateFailure(const std::string& path) {
  return "Unable to create destination file '" + path + "'. \n" +
         "Please check the filename. Also make sure you've got write permissions to the "
         "designated folder, and that you haven't run out of disk space.";
}

}  // namespace

DownloadEngine::DownloadEngine(TEps& eps, TransferProgress& progress, TransferLoop::EventPump pump)
    : eps_(eps), progress_(progress), loop_(eps, progress, std::move(pump)) {}

bool DownloadEngine::Begin() {
  DebugLine("-Download-");
  return eps_.OpenDevices();
}

std::string DownloadEngine::Refusal() const {
  const int start = GetPosition(eps_.WsParams, kWsSampleStart);
  const int end = GetPosition(eps_.WsParams, kWsSampleEnd);
  if (end > start) return {};
  return "The wavesample holds no samples (its end " + std::to_string(end) +
         " is not after its start " + std::to_string(start) + "), so there is nothing to download.";
}

TransferResult DownloadEngine::Download(const std::string& path, const DownloadFormat& format) {
  TransferResult result;
  if (std::string refusal = Refusal(); !refusal.empty()) {
    DebugLine("Download refused: " + refusal);
    return {TransferOutcome::Refused, refusal, 0};
  }
  start_ = GetPosition(eps_.WsParams, kWsSampleStart);
  end_ = GetPosition(eps_.WsParams, kWsSampleEnd);
  if (!OpenFile(path, format, result)) return result;
  LogRange();
  written_ = 0;
  complete_ = false;
  failure_.clear();
  if (!writer_->Begin(Facts())) {
    Fail(std::string("The ") + (format.IsSpecified() ? "WAV" : "file") +
         " header could not be written to '" + path + "'.");
    return Finish(false);
  }
  progress_.SetCaption("Downloading...");
  progress_.ShowProgress();
  eps_.DownloadState = dsStart;
  // A port that stops sending ends the run like any other failure, so the file is still
  // closed with sizes that match its data.
  const bool cancelled = loop_.Run(eps_.DownloadState, "State :", "User pressed Cancel", [this] {
    try {
      Act();
    } catch (const midi::PortError& error) {
      Fail(error.what());
    }
  });
  DebugLine("End of Download");
  midi::WriteInputDump(*eps_.MidiIn);
  if (!complete_) loop_.DropLateInput();
  progress_.HideProgress();
  return Finish(cancelled);
}

bool DownloadEngine::OpenFile(const std::string& path, const DownloadFormat& format,
                              TransferResult& result) {
  writer_ = CreateDownloadWriter(path, format, Facts());
  if (writer_) return true;
  DebugWrite("Unable to write download file");
  DebugLine(path);
  result = {TransferOutcome::Failed, CreateFailure(path), 0, true};
  return false;
}

// The rate, root key and loop the record gives, the loop relative to the sample start.
WavesampleFacts DownloadEngine::Facts() const {
  const int* record = eps_.WsParams;
  WavesampleFacts facts;
  facts.rateCode = (record[kWsRate] >> 8) & 0xFF;
  facts.frames = end_ - start_;
  facts.rootKey = (record[kWsRootKey] >> 8) & 0xFF;
  const int mode = record[kWsPlaybackMode] & 0xFF00;
  if (mode == kLoopForward || mode == kLoopBidirectional || mode == kLoopAndRelease) {
    facts.loop =
        WavesampleFacts::Loop{GetPosition(record, kWsLoopStart) - start_,
                              GetPosition(record, kWsLoopEnd) - start_, mode == kLoopBidirectional};
  }
  return facts;
}

void DownloadEngine::LogRange() const {
  DebugLine("WS Start :" + std::to_string(start_));
  DebugLine("WS End   :" + std::to_string(end_));
  DebugLine("Rate     :" + std::to_string((eps_.WsParams[kWsRate] >> 8) & 0xFF));
}

void DownloadEngine::Act() {
  switch (eps_.DownloadState) {
    case dsStart:
      return StartTransfer();
    case dsRequestBlock:
      return RequestBlock();
    case dsWaitAck:
      return AwaitInput(kResponseBytes, dsCheckAck);
    case dsCheckAck:
      return CheckAck();
    case dsWaitHeader:
      return AwaitInput(kDataHeaderBytes, dsReadHeader);
    case dsReadHeader:
      return CheckHeader();
    case dsWaitData:
      return AwaitInput(static_cast<unsigned>(DataMessageSize(blockEnd_ - position_)), dsReadData);
    case dsReadData:
      return ReadData();
    default:
      return Fail("Unknown download state " + std::to_string(eps_.DownloadState));
  }
}

void DownloadEngine::StartTransfer() {
  startTick_ = midi::TickCount();
  position_ = start_;
  eps_.DownloadState = dsRequestBlock;
}

void DownloadEngine::RequestBlock() {
  blockEnd_ = static_cast<int>(std::min<int64_t>(int64_t{position_} + loop_.BlockSize(), end_));
  eps_.SendGetWsData(position_, blockEnd_);
  DebugLine("GetWaveSampleData(" + std::to_string(position_) + "," + std::to_string(blockEnd_) +
            ")");
  eps_.DownloadState = dsWaitAck;
}

void DownloadEngine::AwaitInput(unsigned bytes, int next) {
  if (loop_.InputReady(bytes)) eps_.DownloadState = next;
}

void DownloadEngine::CheckAck() {
  if (eps_.ProcessInput() == prAck) {
    eps_.DownloadState = dsWaitHeader;
  } else {
    Fail("The sampler refused to send the samples " + std::to_string(position_) + " to " +
         std::to_string(blockEnd_) + ".");
  }
}

// The data message is read with the range of its header, so a header for any other range than
// the one asked for would put samples at the wrong place in the file.
void DownloadEngine::CheckHeader() {
  if (eps_.ProcessInput() != prDataHeader) {
    return Fail("The sampler did not announce the samples " + std::to_string(position_) + " to " +
                std::to_string(blockEnd_) + ".");
  }
  if (eps_.DataStart != position_ || eps_.DataEnd != blockEnd_) {
    DebugLine("Data header (" + std::to_string(eps_.DataStart) + "," +
              std::to_string(eps_.DataEnd) + ") differs from the request");
    return Fail("The sampler announced the samples " + std::to_string(eps_.DataStart) + " to " +
                std::to_string(eps_.DataEnd) + " instead of " + std::to_string(position_) + " to " +
                std::to_string(blockEnd_) + ".");
  }
  eps_.DownloadState = dsWaitData;
}

void DownloadEngine::ReadData() {
  if (eps_.ProcessInput() != prData) {
    DebugLine("No data received");
    return Fail("The samples " + std::to_string(position_) + " to " + std::to_string(blockEnd_) +
                " did not arrive whole.");
  }
  if (!WriteBlock(blockEnd_ - position_)) return Fail("The WAV file could not be written.");
  ReportProgress();
  position_ = blockEnd_;
  if (blockEnd_ == end_) {
    DebugLine("Last block received");
    complete_ = true;
    eps_.DownloadState = dsIdle;
  } else {
    eps_.DownloadState = dsRequestBlock;
  }
}

bool DownloadEngine::WriteBlock(int count) {
  if (!writer_->Write(eps_.SampleBuffer, count)) return false;
  written_ += count;
  return true;
}

void DownloadEngine::ReportProgress() {
  const TimeLeft estimate =
      TimeLeftEstimate(midi::TickCount() - startTick_, blockEnd_ - start_, end_ - start_);
  progress_.UpdateProgress(estimate.secondsLeft, estimate.percent);
  progress_.UpdateSamples(blockEnd_ - start_, end_ - start_);
}

void DownloadEngine::Fail(const std::string& reason) {
  if (failure_.empty()) failure_ = reason;
  eps_.DownloadState = dsIdle;
}

// A file that stopped early announces only what it holds.
TransferResult DownloadEngine::Finish(bool cancelled) {
  TransferResult result{TransferOutcome::Done, {}, written_};
  if (!complete_) {
    result.outcome = cancelled ? TransferOutcome::Cancelled : TransferOutcome::Failed;
    result.message = failure_;
  }
  const bool closed = writer_->Finish(written_);
  writer_.reset();
  if (!closed) {
    result.outcome = TransferOutcome::Failed;
    result.message = complete_ ? "The file could not be closed."
                               : "The sizes in the file's header could not be corrected.";
  }
  return result;
}

}  // namespace kelvora::transfer
