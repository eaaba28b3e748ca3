#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "transfer/ChannelPick.h"
#include "transfer/UploadSource.h"

namespace kelvora::transfer {

// How a file is to become a wavesample besides its target in the sampler.
struct SourceOptions {
  ChannelPick pick;
  int targetCode = -1;  // the rate code to resample to; -1 for the file rate's default target
  // Send samples unchanged: no resampling, the rate word by the specified rounding, so a file
  // whose rate the sampler does not play exactly plays off pitch.
  bool unchanged = false;
  int bits = 16;  // the sampler's word length: 16, or 13 for an original EPS
};

// The file as found and what its upload will do.
struct SourcePlan {
  std::string format;  // "24-bit FLAC, 96000 Hz, stereo, 3.2 s"
  int fileRate = 0;
  int channels = 0;
  int64_t fileFrames = 0;
  int rateCode = 0;        // the record's rate code
  bool resampled = false;  // the frames are resampled to the rate code's rate
  bool specified = false;  // read by the WAV reader, words exactly the file's frames
};

struct OpenedSource {
  std::unique_ptr<UploadSource> source;  // null when refused
  SourcePlan plan;
  // Why the file cannot be uploaded, one sentence naming the file; empty with a source.
  std::string refusal;
};

// The upload source for the file at `path`. An 8- or 16-bit PCM WAV file of one or two channels
// goes through the specified path when the sampler plays its rate exactly and the target is its
// own rate, or when samples are sent unchanged; anything else libsndfile reads goes through the
// converted path. Nothing is sent anywhere: a refusal comes before any upload.
OpenedSource OpenUploadSource(const std::string& path, const SourceOptions& options);
// The converted path over a file's bytes in memory, which must outlive the source; `name` only
// names it in messages.
OpenedSource OpenUploadSourceInMemory(const uint8_t* data, size_t size, const std::string& name,
                                      const SourceOptions& options);

}  // namespace kelvora::transfer
