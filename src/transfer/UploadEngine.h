#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "protocol/Eps.h"
#include "transfer/Progress.h"
#include "transfer/RiffFile.h"
#include "transfer/TransferLoop.h"
#include "transfer/TransferResult.h"
#include "transfer/UploadBlockFiller.h"
#include "transfer/UploadChoices.h"

namespace kelvora::transfer {

// Sends a WAV file into the sampler as a wavesample over the session's UploadState: the data
// block by block, then the parameter record, the instrument's name (for wavesample 1) and the
// key range. A target instrument, layer or wavesample the sampler does not have is created on
// the way. The caller (the main window, the command-line transfer) runs Begin, the upload
// dialog, and Upload with the dialog's choices and its file, already read up to the samples.
class UploadEngine {
 public:
  UploadEngine(protocol::TEps& eps, TransferProgress& progress, TransferLoop::EventPump pump = {});

  // The devices, then any wavesample open for editing is written back and closed; false when
  // the sampler cannot be reached (the session has already told the user).
  bool Begin();
  // The whole transfer. A file the upload cannot convert, or choices out of range, are refused
  // before anything is sent. The file is closed at the end in every outcome.
  TransferResult Upload(const UploadChoices& choices, TRiffFile& file);

 private:
  void LogTarget() const;
  void Act();
  void ActOnData();
  void ActOnParams();
  void ActOnCreation();
  void Prepare();
  void ReadBlock();
  void SendDataHeader();
  void AwaitReply(int next);
  void CheckHeaderAck();
  void SendData();
  void CheckDataAck();
  void CheckParamsHeaderAck();
  void CheckParamsAck();
  void StartCreation(bool& done, void (protocol::TEps::*send)(), const char* what);
  void CheckCreation(const char* what, bool selectInstrument);
  void Rename();
  void SetKeyRange();
  void SlowDown();
  void ReportProgress();
  void Fail(const std::string& reason);

  protocol::TEps& eps_;
  TransferProgress& progress_;
  TransferLoop loop_;

  UploadChoices choices_;
  TRiffFile* file_ = nullptr;
  std::optional<UploadBlockFiller> filler_;
  int sent_ = 0;
  uint32_t startTick_ = 0;
  bool createdInstrument_ = false;
  bool createdLayer_ = false;
  bool createdWaveSample_ = false;
  bool complete_ = false;
  std::string failure_;
};

}  // namespace kelvora::transfer
