#pragma once

#include <cstdint>
#include <string>

#include "transfer/UploadChoices.h"
#include "transfer/UploadSources.h"

namespace kelvora::transfer {

// What an upload costs before it starts: the sampler's memory, counted in blocks of 256 words,
// and the time on the MIDI wire at 3125 bytes per second, every message of the exchange counted
// both ways (data blocks with their headers and answers, the parameter record, the renaming of
// the instrument for wavesample 1, the key range with the second the session waits after each
// key) plus the pause before each block.
struct UploadFigures {
  int64_t memoryBlocks = 0;
  int64_t wireBytes = 0;
  double wireSeconds = 0;
};

// frames: the wavesample's frames (the upload adds two silent words); blockSize is kept within
// the 256..10240 samples a block may hold.
UploadFigures FiguresFor(int64_t frames, int blockSize, const UploadChoices& choices,
                         int delayMs = 0);

// "123 blocks of memory, 4 min 12 s on the wire".
std::string FiguresText(const UploadFigures& figures);
// What happens to the pitch: "96000 Hz → 48000 Hz, plays at pitch", "44100 Hz, plays at pitch",
// or for samples sent unchanged at a rate the sampler does not play "22050 Hz sent as 22321 Hz,
// plays 21 cents sharp".
std::string PitchText(const SourcePlan& plan);
// A time for a person: "under 1 s", "12 s", "4 min 12 s", "1 h 3 min".
std::string DurationText(double seconds);

}  // namespace kelvora::transfer
