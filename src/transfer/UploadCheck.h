#pragma once

#include <string>

#include "transfer/RiffFile.h"

namespace kelvora::transfer {

// Sample positions are 23-bit on the sampler; an upload adds two silent words after the data.
constexpr int kMaxUploadFrames = 8388607 - 2;

// Empty when an upload can convert the file, whose header has been read; otherwise the reason
// in words for a person, e.g. "3 channels: only mono and stereo files can be uploaded".
std::string UploadRefusal(const TRiffFile& file);

}  // namespace kelvora::transfer
