#pragma once

#include <string>

#include "transfer/UploadSource.h"

namespace kelvora::transfer {

// Writes every word a source gives into a mono 16-bit WAV file at the whole hertz nearest the
// rate the sampler plays the source's rate code at: what an upload would store, to be heard
// before it is sent. False when the source fails or the file cannot be written.
bool RenderToWav(UploadSource& source, const std::string& path);

}  // namespace kelvora::transfer
