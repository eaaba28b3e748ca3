#pragma once

#include <optional>
#include <string>
#include <vector>

#include "batch/UploadPlan.h"
#include "transfer/ChannelPick.h"

namespace kelvora::cli {

// How the files of an upload become wavesamples, read from the upload command's options.
struct UploadOptions {
  // The root key for every file; none: found per file in its metadata or name.
  std::optional<int> rootKey;
  // Without --root, a single file whose root key cannot be found takes C4 = 60, as the windows'
  // upload does; with --root auto it is refused.
  bool rootRequired = false;
  batch::RangeRule range = batch::RangeRule::Full;
  bool rangeGiven = false;
  int low = batch::kKeyboardLow;
  int high = batch::kKeyboardHigh;
  transfer::ChannelPick pick;
  int rate = 0;  // Hz the sampler is to play; 0: the file rate's default target
  bool unchanged = false;
};

// Reads the four option values (each empty when not given); false with a sentence naming the
// option and what it takes.
bool ParseUploadOptions(const std::string& root, const std::string& range,
                        const std::string& channel, const std::string& rate, UploadOptions& options,
                        std::string& error);

// The audio files the arguments name: files as they are, folders as the audio files in them
// (by their extension), sorted by name. False with a sentence for an argument that is neither.
bool ExpandUploadFiles(const std::vector<std::string>& arguments, std::vector<std::string>& files,
                       std::string& error);

}  // namespace kelvora::cli
