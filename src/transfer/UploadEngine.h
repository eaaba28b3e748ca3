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
#include "transfer/UploadSource.h"

namespace kelvora::transfer {

// Sends an audio file into the sampler as a wavesample over the session's UploadState: the data
// block by block, then the parameter record, the instrument's name (for wavesample 1) and the
// key range. A target instrument, layer or wavesample the sampler does not have is created on
// the way. The caller (the main window, the command-line transfer) runs Begin, the upload
// dialog, and Upload with the dialog's choices and the file's upload source.
class UploadEngine {
 public:
  UploadEngine(protocol::TEps& eps, TransferProgress& progress, TransferLoop::EventPump pump = {});

  // The devices, then any wavesample open for editing is written back and closed; false when
  // the sampler cannot be reached (the session has already told the user).
  bool Begin();
  // The whole transfer. Choices out of range are refused before anything is sent. The source is
  // closed at the end in every outcome. A source that quantizes for the sampler is told the
  // word length of the model the session knows (13 bits on an original EPS).
  TransferResult Upload(const UploadChoices& choices, UploadSource& source);
  // The specified path: a WAV file read up to its samples, whose frames go out as they are. A
  // file the upload cannot convert is refused before anything is sent.
  TransferResult Upload(const UploadChoices& choices, TRiffFile& file);

 private:
  void LogTarget() const;
  void Act();
  void ActOnData();
  void ActOnParams();
  void ActOnCreation();
  TransferResult Run();
  void Prepare();
  bool MatchWordLength();
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
  void LearnModel();
  void Rename();
  void SetKeyRange();
  void SlowDown();
  void ReportProgress();
  void Fail(const std::string& reason);

  protocol::TEps& eps_;
  TransferProgress& progress_;
  TransferLoop loop_;

  UploadChoices choices_;
  UploadSource* source_ = nullptr;
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
