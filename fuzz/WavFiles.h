#pragma once

#include <cstdint>
#include <string>

namespace kelvora::fuzz {

// A PCM file of `frames` frames of a ramp, for uploads.
void WriteTestWav(const std::string& path, int channels, int bits, int frames);

// Aborts unless the file a download left is a whole mono 16-bit WAV whose header sizes match
// its length and whose data holds exactly `samples` samples.
void CheckDownloadedFile(const std::string& path, int64_t samples);

}  // namespace kelvora::fuzz
