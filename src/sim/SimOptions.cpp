#include "sim/SimOptions.h"

namespace kelvora::sim {

namespace {

bool ChannelOk(int channel) { return channel >= 1 && channel <= 16; }

bool MemoryOk(int64_t words) {
  return words == 0 || (words >= kMinMemoryWords && words <= kMaxMemoryWords);
}

}  // namespace

std::string CheckOptions(const SimOptions& options) {
  if (!ChannelOk(options.channel)) return "channel must be 1..16";
  if (!MemoryOk(options.memoryWords)) {
    return "memory must be " + std::to_string(kMinMemoryWords) + ".." +
           std::to_string(kMaxMemoryWords) + " words";
  }
  if (options.commandLatencyUs < 0 || options.sampleLatencyNs < 0) {
    return "latencies cannot be negative";
  }
  if (options.ackTimeoutMs <= 0) return "the ACK time-out must be positive";
  if (options.minBlockGapMs < 0) return "the minimum block gap cannot be negative";
  if (options.waitEverySamples <= 0) return "WAIT responses need a positive sample count";
  return {};
}

SimOptions NormalizedOptions(const SimOptions& options) {
  const SimOptions defaults;
  SimOptions result = options;
  if (!ChannelOk(result.channel)) result.channel = defaults.channel;
  if (!MemoryOk(result.memoryWords) || result.memoryWords == 0) {
    result.memoryWords = DefaultMemoryWords(result.model);
  }
  if (result.commandLatencyUs < 0) result.commandLatencyUs = 0;
  if (result.sampleLatencyNs < 0) result.sampleLatencyNs = 0;
  if (result.ackTimeoutMs <= 0) result.ackTimeoutMs = defaults.ackTimeoutMs;
  if (result.minBlockGapMs < 0) result.minBlockGapMs = 0;
  if (result.waitEverySamples <= 0) result.waitEverySamples = defaults.waitEverySamples;
  return result;
}

}  // namespace kelvora::sim
