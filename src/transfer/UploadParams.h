#pragma once

#include "transfer/RiffFile.h"
#include "transfer/UploadChoices.h"

namespace kelvora::transfer {

// Builds the 139-word wavesample record an upload sends after the data, from the default
// record: positions 0..FrameCount (loop likewise), the rate code of the file's rate, the root
// key, the channel position of a left or right upload, and for a Morlavine file a forward loop
// with the file's loop end and parameter.
void PrepareUploadParams(int* record, const TRiffFile& file, const UploadChoices& choices);

}  // namespace kelvora::transfer
