#pragma once

#include <optional>
#include <string>

namespace kelvora::batch {

// A place in the sampler as a user writes it: "3" is instrument 3, "3/1" its first layer,
// "3/1/2" wavesample 2 of instrument 3 in layer 1. The text numbers everything from 1, as the
// windows do; inside, the instrument and the layer are 0-based (0..7) and the wavesample keeps
// its number (1..127), as the session numbers them.
struct SlotPath {
  int instrument = 0;  // 0..7
  int layer = -1;      // 0..7; -1: not given
  int waveSample = 0;  // 1..127; 0: not given

  bool HasLayer() const { return layer >= 0; }
  bool HasWaveSample() const { return waveSample > 0; }
  bool operator==(const SlotPath&) const = default;
};

// The path, or nothing with the reason in `error` (a sentence naming the text and what is
// wrong). How deep a path must or may go is the caller's to check.
std::optional<SlotPath> ParseSlotPath(const std::string& text, std::string& error);

// "3", "3/1" or "3/1/2": the text ParseSlotPath reads back.
std::string FormatSlotPath(const SlotPath& path);
// A wavesample's path; `layer` -1 when it is not known writes "3/?/2".
std::string FormatWaveSample(int instrument, int layer, int waveSample);

}  // namespace kelvora::batch
