#pragma once

#include <cstdint>
#include <string>

namespace kelvora::transfer {

// How a transfer ended. A caller that deletes or replaces files acts only on Done.
enum class TransferOutcome {
  Done,       // everything went through
  Cancelled,  // the user stopped it
  Refused,    // refused before anything was sent or written; message says why
  Failed,     // the sampler, the devices or the file let it down; message says what
};

struct TransferResult {
  TransferOutcome outcome = TransferOutcome::Failed;
  std::string message;  // for a person; empty for Done and Cancelled
  int64_t samples = 0;  // samples written to the file (download) or acknowledged (upload)
  // Download: the destination file could not be created, so nothing at all was written.
  bool noDestination = false;

  bool Succeeded() const { return outcome == TransferOutcome::Done; }
};

}  // namespace kelvora::transfer
