#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "transfer/UploadSource.h"

namespace kelvora::transfer::test {

// Interleaved samples of full scale 1.0.
using Samples = std::vector<double>;

// A sine of `frequency` Hz at `rate`, the same on every channel.
Samples Tone(double frequency, int rate, double seconds, int channels = 1, double amplitude = 0.5);
// Writes an audio file with libsndfile in `format` (SF_FORMAT_...); with marks, its instrument
// data carries them (WAV smpl). Throws when libsndfile refuses.
void WriteSound(const std::string& path, int format, int rate, int channels, const Samples& samples,
                const FileMarks& marks = {});
// The same with 32-bit integer samples as libsndfile takes them (full scale 2^31).
void WriteSoundInts(const std::string& path, int format, int rate, const std::vector<int>& samples);

// A file read back with libsndfile: its rate, its first channel as 16-bit samples and its
// instrument data.
struct SoundRead {
  int rate = 0;
  std::vector<int16_t> samples;
  FileMarks marks;
};
SoundRead ReadSound(const std::string& path);

// A mono 16-bit AIFF file at 44100 Hz of `frames` silent frames whose INST chunk names a root key
// and a forward sustain loop between two MARK markers: the bytes, built by hand, since
// libsndfile does not write these chunks.
std::vector<uint8_t> AiffWithLoop(int frames, int loopStart, int loopEnd, int rootKey);

// The frequency of a steady tone, from its rising zero crossings (interpolated between samples)
// over the middle 80 % of the samples, at the rate the samples are played.
double MeasuredFrequency(const std::vector<int16_t>& samples, double rate);
// The words of the data messages in bytes a session sent: each PUT WAVESAMPLE DATA header is
// followed by a data message of 16-bit words, or by the creation of a missing target and the
// header again. (A sampler that asks to slow down would make a header look like data.)
std::vector<int> SentDataWords(const std::vector<uint8_t>& bytes);
// Words of a source read in blocks of 1000 until it ends; throws when it fails.
std::vector<int> AllWords(UploadSource& source);

}  // namespace kelvora::transfer::test
