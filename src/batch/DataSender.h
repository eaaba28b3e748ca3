#pragma once

#include <string>

#include "batch/JobProgress.h"
#include "batch/StepOutcome.h"
#include "batch/TransferWatch.h"
#include "protocol/Eps.h"
#include "transfer/TransferLoop.h"

namespace kelvora::batch {

// Sends the samples of a backup's WAV file into an existing wavesample, from its first sample,
// block by block with PUT WAVESAMPLE DATA: the command, ACK, the block, ACK. A "slow down"
// answer lengthens the session's Delay and sends the block again, as the upload does. Nothing
// is added to the samples, so the wavesample holds exactly the data that was backed up.
class DataSender {
 public:
  DataSender(protocol::TEps& eps, JobProgress& progress, uint32_t stallLimitMs);

  StepOutcome Send(const protocol::Target& target, const std::string& path);

 private:
  bool SendBlock(int start, int end, StepOutcome& outcome);
  bool AwaitReply(StepOutcome& outcome);
  bool Stopped(StepOutcome& outcome);

  protocol::TEps& eps_;
  JobProgress& progress_;
  TransferWatch watch_;
  transfer::TransferLoop loop_;
};

}  // namespace kelvora::batch
