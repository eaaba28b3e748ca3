#pragma once

#include <cstdint>
#include <string>

#include "transfer/FrameConversion.h"

namespace kelvora::transfer {

// The channel an upload takes from a file of any channel count: left (the first), right (the
// second), the mix of all, or channel `channel` (from 0) with fcChannel.
struct ChannelPick {
  int mode = fcMono;
  int channel = 0;
};

// Empty when the pick suits a file of `channels` channels, otherwise why not, for a person.
// A mono file suits every mode but a channel other than the first.
std::string PickRefusal(const ChannelPick& pick, int channels);
// One sample per frame of `count` interleaved frames. The mix is the average of all channels,
// so it never clips.
void PickChannel(const float* frames, int64_t count, int channels, const ChannelPick& pick,
                 float* out);

}  // namespace kelvora::transfer
