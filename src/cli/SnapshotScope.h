#pragma once

#include <optional>
#include <string>

#include "batch/SlotPath.h"
#include "batch/Snapshot.h"
#include "protocol/Eps.h"

namespace kelvora::cli {

// The records of the instrument the slot names (of every instrument without one), read fresh
// from the sampler and stopping at Ctrl+C between two instruments; false with a sentence when
// the sampler stops answering.
bool ReadSnapshot(protocol::TEps& eps, const std::optional<batch::SlotPath>& slot,
                  batch::Snapshot& snapshot, std::string& failure);

// Only the layer and the wavesample the slot names stay.
void Narrow(batch::Snapshot& snapshot, const batch::SlotPath& slot);

// Why what the slot names is not in the narrowed snapshot, a sentence; empty when it is there.
std::string Missing(const batch::Snapshot& snapshot, const batch::SlotPath& slot);

}  // namespace kelvora::cli
