#pragma once

#include <string>

#include "batch/JobProgress.h"
#include "batch/JobResult.h"
#include "batch/Snapshot.h"
#include "batch/UploadPlan.h"
#include "protocol/Eps.h"
#include "transfer/ChannelPick.h"
#include "transfer/UploadChoices.h"
#include "transfer/UploadSources.h"

namespace kelvora::batch {

// The upload choices of a planned file in `instrument`: its slot, root key and key range, the
// channel taken from a file with several, and the wavesample named after the file.
transfer::UploadChoices ChoicesFor(int instrument, const PlannedFile& planned,
                                   const transfer::ChannelPick& pick);
// The slots of the snapshot's first instrument (the target), as the sampler holds them now.
InstrumentSlots SlotsOf(const Snapshot& snapshot);
// The session's tables of what the target instrument holds, which the upload reads to delete
// a wavesample it replaces.
void TellSession(protocol::TEps& eps, const Snapshot& snapshot);
// Memory and wire time of each file where the plan put it, and the totals.
void FigurePlan(UploadPlan& plan, int blockSize, int delay, const transfer::ChannelPick& pick);
// A file read for the plan: its frames, the rate it plays at, its format and pitch, and the root
// key its metadata or else its name tells. False, with a sentence in `refusal`, when it cannot
// be uploaded.
bool ReadPlanFile(const std::string& path, const transfer::SourceOptions& options, PlanFile& file,
                  std::string& refusal);
// The same facts of a source already opened from `path`, which is closed afterwards.
PlanFile PlanFileOf(const std::string& path, transfer::OpenedSource& opened);

// Sends the files of a plan that fits, one after the other, each opened again with `options`:
// the first that does not go in ends the job and the wavesamples before it stay. A cancel
// stops inside the file under way, between two blocks, with the conversation in step.
JobResult SendPlan(protocol::TEps& eps, JobProgress& progress, const UploadPlan& plan,
                   const transfer::SourceOptions& options);

}  // namespace kelvora::batch
