#pragma once

#include <cstdint>
#include <string>

#include "sim/SamplerModel.h"

namespace kelvora::sim {

// How the overview (GET 0A with start and end) cuts its range into 512 words.
enum class OverviewReading {
  // Sections of (end - start) / 1024 samples from start: what Kelvora's view asks for when it
  // requests start .. start + 1024 x step to draw 512 x step samples. The second half of the
  // range is not used.
  HalfRange,
  // The maker's wording: the whole range cut into 512 sections.
  WholeRange,
};

// Everything a simulated sampler can be set up with. Plain data, so that a command-line front
// end can fill it from its arguments.
struct SimOptions {
  SamplerModel model = SamplerModel::Eps16Plus;
  int channel = 1;          // base MIDI channel 1..16; SysEx on other channels is ignored
  int64_t memoryWords = 0;  // 0: the model's default
  bool demoContent = true;  // start with the synthesised demo instruments
  std::string stateFile;    // empty: memory is not kept between runs

  // Timing. Unpaced answers go out as fast as the peer takes them.
  bool paced = false;            // 31250 baud (320 µs per byte) in each direction
  int64_t commandLatencyUs = 0;  // processing time of every command
  int64_t sampleLatencyNs = 0;   // processing time per sample edited or transferred

  int ackTimeoutMs = 2000;       // how long a GET waits for the host's ACK
  int minBlockGapMs = 0;         // status 20 when a PUT DATA follows the last block sooner
  int waitEverySamples = 65536;  // a WAIT response per this many samples a long edit processes
  OverviewReading overview = OverviewReading::HalfRange;
};

// Empty when the options can be used as they are; otherwise what is wrong, for a front end to
// show. A sampler given bad options still starts, with each bad value replaced by its default.
std::string CheckOptions(const SimOptions& options);
SimOptions NormalizedOptions(const SimOptions& options);

}  // namespace kelvora::sim
