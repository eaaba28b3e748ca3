#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "protocol/Eps.h"
#include "transfer/DownloadWriter.h"
#include "transfer/Progress.h"
#include "transfer/TransferLoop.h"
#include "transfer/TransferResult.h"

namespace kelvora::transfer {

// Copies the current wavesample's data [sample start, sample end) from the sampler into a new
// mono 16-bit file, block by block over the session's DownloadState: by default the specified
// WAV file with a `smpl` chunk after the samples, or the format the user prefers. The caller (the
// main window) runs Begin, picks the wavesample (WsParams then holds its record) and the file, and
// calls Download; the windows come in through the progress object and the event pump.
class DownloadEngine {
 public:
  DownloadEngine(protocol::TEps& eps, TransferProgress& progress,
                 TransferLoop::EventPump pump = {});

  // "-Download-" and the devices; false when the sampler cannot be reached (the session has
  // already told the user).
  bool Begin();
  // Why the wavesample in WsParams cannot be downloaded, for a person; empty when it can.
  std::string Refusal() const;
  // The whole transfer into `path`. A file that stops early is closed with its header sizes
  // rewritten to the samples it really holds; a refused download creates no file. Whatever way
  // the download ends, an exception included, the file is closed.
  TransferResult Download(const std::string& path, const DownloadFormat& format = {});

 private:
  bool OpenFile(const std::string& path, const DownloadFormat& format, TransferResult& result);
  WavesampleFacts Facts() const;
  void LogRange() const;
  void Act();
  void StartTransfer();
  void RequestBlock();
  void AwaitInput(unsigned bytes, int next);
  void CheckAck();
  void CheckHeader();
  void ReadData();
  bool WriteBlock(int count);
  void ReportProgress();
  void Fail(const std::string& reason);
  TransferResult Finish(bool cancelled);

  protocol::TEps& eps_;
  TransferProgress& progress_;
  TransferLoop loop_;

  std::unique_ptr<DownloadWriter> writer_;
  int start_ = 0;
  int end_ = 0;
  int position_ = 0;
  int blockEnd_ = 0;
  uint32_t startTick_ = 0;
  int64_t written_ = 0;
  bool complete_ = false;
  std::string failure_;
};

}  // namespace kelvora::transfer
