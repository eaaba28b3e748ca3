#pragma once

#include <cstdint>
#include <string>

// Audio files described in words for the person choosing one.
namespace kelvora::transfer {

// libsndfile's format word in words: "24-bit FLAC", "32-bit float WAV", "Ogg Vorbis", "MP3".
std::string FormatName(int sfFormat);
// The whole line: "24-bit FLAC, 96000 Hz, stereo, 3.2 s".
std::string FormatLine(int sfFormat, int rate, int channels, int64_t frames);
// The file name patterns of every format libsndfile reads, "*.wav *.aif ..." (lower case).
std::string ReadablePatterns();
// True when the name ends in one of those patterns' extensions (any case).
bool HasReadableExtension(const std::string& fileName);

}  // namespace kelvora::transfer
