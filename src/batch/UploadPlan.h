#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "batch/SlotPath.h"

namespace kelvora::batch {

// The keys the sampler's layer map covers: the 88 keys of a piano, A0 to C8.
constexpr int kKeyboardLow = 21;
constexpr int kKeyboardHigh = 108;

// How the key ranges of planned wavesamples are chosen.
enum class RangeRule {
  Full,    // the wavesample record's own range, the whole keyboard
  Root,    // the root key alone
  Custom,  // the same low..high for every file
  Auto,    // split halfway between neighbouring roots, the outer ones reaching the keyboard's ends
};

// One file as it will go in: what it costs and the root key found for it.
struct PlanFile {
  std::string path;
  int64_t frames = 0;
  int rate = 0;  // Hz the sampler plays it at
  std::optional<int> rootKey;
  std::string rootSource;  // where the root key came from: "given", "metadata", "name", ...
  int64_t memoryBlocks = 0;
  double wireSeconds = 0;
  std::string format;  // the file in words: "24-bit FLAC, 96000 Hz, stereo, 3.2 s"
  std::string pitch;   // what happens to its pitch: "96000 Hz -> 48000 Hz, plays at pitch"
};

// What the target instrument holds now.
struct InstrumentSlots {
  bool exists = false;
  bool layerInUse[8] = {};
  bool waveSampleInUse[127] = {};  // index: number - 1
};

struct PlanRequest {
  SlotPath target;  // instrument, and the layer and first wavesample when named
  RangeRule range = RangeRule::Full;
  int low = kKeyboardLow;  // Custom
  int high = kKeyboardHigh;
};

// Where one file goes and how it plays.
struct PlannedFile {
  PlanFile file;
  int layer = 0;
  int waveSample = 1;
  bool replaces = false;  // the wavesample is in use and is deleted first
  int rootKey = 60;
  RangeRule range = RangeRule::Full;  // Full, Root or Custom as the upload sends it
  int low = kKeyboardLow;
  int high = kKeyboardHigh;
};

struct UploadPlan {
  int instrument = 0;
  std::vector<PlannedFile> files;  // in the order they go, lowest root first for Auto
  int64_t memoryBlocks = 0;
  double wireSeconds = 0;
  // Why the plan cannot be carried out, a sentence naming the slot or the file; empty when it
  // fits.
  std::string refusal;

  bool Fits() const { return refusal.empty(); }
};

// Places the files in the instrument: in the wavesamples from the one named, replacing those in
// use, or else in its free wavesamples in order, refusing when there are too few. A new
// instrument starts with layer 1 and wavesample 1, as the upload creates it; an existing
// instrument's layer must exist. Every file needs a root key; Auto needs different ones.
UploadPlan PlanUpload(const PlanRequest& request, const std::vector<PlanFile>& files,
                      const InstrumentSlots& slots);

}  // namespace kelvora::batch
