#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kelvora::transfer {

// What a downloaded file says about the wavesample besides its samples.
struct WavesampleFacts {
  int rateCode = 0;    // the record's rate code
  int64_t frames = 0;  // sample end - sample start
  int rootKey = 60;    // MIDI key
  // The loop when the playback mode loops, relative to the sample start, end exclusive.
  struct Loop {
    int64_t start = 0;
    int64_t end = 0;
    bool alternating = false;  // back and forth rather than forward
  };
  std::optional<Loop> loop;
};

// The file a download writes, block by block: a 16-bit mono file of the wavesample's samples
// with its loop and root key where the format carries them. Whatever way the download ends, the
// file is closed when the writer goes, with the sizes of what it holds.
class DownloadWriter {
 public:
  virtual ~DownloadWriter() = default;
  // Writes what comes before the samples; false when the file refuses it.
  virtual bool Begin(const WavesampleFacts& facts) = 0;
  // The low 16 bits of each word, in order.
  virtual bool Write(const int* words, int count) = 0;
  // Ends the file after `written` samples (fewer than the frames when the download stopped
  // early) and closes it; false when the file could not be completed.
  virtual bool Finish(int64_t written) = 0;
};

// Which file a download writes: the WAV file the sampler's rate gives by default, or FLAC or
// AIFF, at the sampler's rate or converted to 44100 or 48000 Hz.
struct DownloadFormat {
  enum Container { Wav, Flac, Aiff };
  Container container = Wav;
  int rate = 0;  // 0: the rate the sampler plays; else 44100 or 48000
  bool IsSpecified() const { return container == Wav && rate == 0; }
  // "wav", "flac" or "aiff".
  const char* Extension() const;
};

// Creates the file at `path` for the format and a wavesample of these facts; null when it cannot
// be created. Begin then writes what comes before the samples.
std::unique_ptr<DownloadWriter> CreateDownloadWriter(const std::string& path,
                                                     const DownloadFormat& format,
                                                     const WavesampleFacts& facts);

}  // namespace kelvora::transfer
