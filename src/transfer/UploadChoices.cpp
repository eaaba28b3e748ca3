#include "transfer/UploadChoices.h"

namespace kelvora::transfer {
namespace {

bool Within(int value, int low, int high) { return value >= low && value <= high; }

std::string OutOfRange(const char* what, int value, int low, int high) {
  return std::string(what) + " " + std::to_string(value) + " is outside " + std::to_string(low) +
         ".." + std::to_string(high);
}

std::string KeyRefusal(const UploadChoices& c) {
  if (!Within(c.rootKey, 0, 127)) return OutOfRange("root key", c.rootKey, 0, 127);
  if (c.range != KeyRangeMode::Custom) return {};
  if (!Within(c.loKey, 0, 127)) return OutOfRange("low key", c.loKey, 0, 127);
  if (!Within(c.hiKey, 0, 127)) return OutOfRange("high key", c.hiKey, 0, 127);
  if (c.loKey > c.hiKey) return "the low key is above the high key";
  return {};
}

}  // namespace

std::string ChoicesRefusal(const UploadChoices& c) {
  // Users count instruments, layers and wavesamples from 1.
  if (!Within(c.instrument, 0, 7)) return OutOfRange("instrument", c.instrument + 1, 1, 8);
  if (!Within(c.layer, 0, 7)) return OutOfRange("layer", c.layer + 1, 1, 8);
  if (!Within(c.waveSample, 1, 127)) return OutOfRange("wavesample", c.waveSample, 1, 127);
  if (c.channelMode == fcChannel) {
    if (!Within(c.channel, 0, 255)) return OutOfRange("channel", c.channel + 1, 1, 256);
  } else if (c.channelMode != fcLeft && c.channelMode != fcRight && c.channelMode != fcMono) {
    return "channel mode " + std::to_string(c.channelMode) + " is not left, right or mono";
  }
  return KeyRefusal(c);
}

}  // namespace kelvora::transfer
