#pragma once

#include <string>

#include "batch/Snapshot.h"

namespace kelvora::batch {

// How one transfer of a job (a wavesample's data fetched, sent or compared) ended.
enum class StepStatus {
  Done,
  Cancelled,  // the user stopped the job
  Stalled,    // the sampler stopped answering: the job cannot go on
  NoRoom,     // the disk cannot take the file: the job cannot go on
  Failed,     // this wavesample did not go through (the sampler refused it, a damaged file)
};

struct StepOutcome {
  StepStatus status = StepStatus::Failed;
  std::string message;  // for a person, when not Done
  StoredData data;
};

}  // namespace kelvora::batch
