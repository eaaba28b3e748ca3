#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "transfer/TransferResult.h"

namespace kelvora::batch {

// How a batch job ended, with the counts a summary line needs. `problems` holds one sentence
// per object that did not go through (or, for a verify, that differs), naming its slot; the
// job does not show them itself, so the caller tells them once, at the end.
struct JobResult {
  transfer::TransferOutcome outcome = transfer::TransferOutcome::Done;
  std::string message;  // why the job stopped, for a person; empty when it ran to its end
  int filesTransferred = 0;
  int filesKept = 0;  // already whole from an earlier run
  int64_t samplesTransferred = 0;
  std::vector<std::string> problems;
  // Restore: what the protocol could not bring back, one sentence each.
  std::vector<std::string> limits;
  // Backup: refused because the folder holds a backup this one would replace; a run with
  // `replace` set may go on.
  bool replaceable = false;

  bool Succeeded() const { return outcome == transfer::TransferOutcome::Done && problems.empty(); }
};

}  // namespace kelvora::batch
