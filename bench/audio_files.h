#pragma once

#include <cstdint>
#include <string>

namespace kelvora::bench {

// Writes `seconds` of a 1 kHz tone (a slow sweep on the second channel) with libsndfile, a
// second at a time, so that writing a long file takes no more memory than a short one.
bool WriteToneFile(const std::string& path, int format, int rate, int channels, int seconds);
// Converts the whole file as an upload reads it; the words made, or -1 when it fails.
int64_t ConvertAll(const std::string& path);

}  // namespace kelvora::bench
