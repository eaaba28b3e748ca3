#pragma once

#include "transfer/UploadChoices.h"
#include "transfer/UploadSource.h"

namespace kelvora::transfer {

// Builds the 139-word wavesample record an upload sends after the data, from the default
// record: positions 0..FrameCount (loop likewise), the source's rate word, the root key, the
// channel position of a left or right upload, and for a source with a loop a forward loop over
// it; a Morlavine loop also sets the loop's modulation words from the chunk's parameter. A name
// in the choices names the wavesample.
void PrepareUploadParams(int* record, const UploadSource& source, const UploadChoices& choices);

}  // namespace kelvora::transfer
