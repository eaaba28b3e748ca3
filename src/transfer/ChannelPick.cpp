#include "transfer/ChannelPick.h"

#include <algorithm>

namespace kelvora::transfer {
namespace {

int PickedIndex(const ChannelPick& pick, int channels) {
  if (channels < 2) return 0;
  if (pick.mode == fcLeft) return 0;
  if (pick.mode == fcRight) return 1;
  if (pick.mode == fcChannel) return pick.channel < channels ? std::max(pick.channel, 0) : 0;
  return -1;  // the mix
}

}  // namespace

std::string PickRefusal(const ChannelPick& pick, int channels) {
  if (pick.mode != fcChannel) return {};
  if (pick.channel >= 0 && pick.channel < channels) return {};
  return "channel " + std::to_string(pick.channel + 1) + " was chosen, but the file has " +
         std::to_string(channels) + (channels == 1 ? " channel" : " channels");
}

void PickChannel(const float* frames, int64_t count, int channels, const ChannelPick& pick,
                 float* out) {
  const int index = PickedIndex(pick, channels);
  for (int64_t i = 0; i < count; ++i) {
    const float* frame = frames + i * channels;
    if (index >= 0) {
      out[i] = frame[index];
      continue;
    }
    double sum = 0;
    for (int c = 0; c < channels; ++c) sum += frame[c];
    out[i] = static_cast<float>(sum / channels);
  }
}

}  // namespace kelvora::transfer
