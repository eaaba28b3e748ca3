#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "protocol/Eps.h"
#include "sim/SimMidiDriver.h"
#include "support/SessionFixture.h"
#include "transfer/DownloadEngine.h"
#include "transfer/Progress.h"
#include "transfer/UploadChoices.h"
#include "transfer/UploadEngine.h"
#include "transfer/UploadSources.h"

namespace kelvora::transfer::test {

// Records what a transfer shows and cancels when a test says so.
class RecordingProgress : public TransferProgress {
 public:
  struct Update {
    float secondsLeft;
    float percent;
  };

  std::vector<std::string> calls;  // "caption <text>", "show", "update", "hide"
  std::vector<Update> updates;
  int cancelAfterUpdates = -1;  // Cancelled turns true after this many updates
  // Cancelled turns true once this long has passed without an update (a stalled transfer).
  std::chrono::milliseconds cancelWhenIdle{-1};
  std::function<void(int updateCount)> onUpdate;
  std::function<bool()> cancelWhen;  // polled by Cancelled until it says yes
  int polls = 0;

  void SetCaption(const std::string& caption) override { calls.push_back("caption " + caption); }
  void ShowProgress() override;
  void UpdateProgress(float secondsLeft, float percent) override;
  void HideProgress() override { calls.push_back("hide"); }
  bool Cancelled() override;

 private:
  bool cancelled_ = false;
  std::chrono::steady_clock::time_point lastActivity_;
};

// The project's session fixture with the demo instruments (0..2) loaded, and the two transfers
// started the way the windows start them.
class TransferFixture : public kelvora::testing::SessionFixture {
 protected:
  void SetUp() override;
  sim::SimOptions Options() override;

  sim::SimulatedSampler& Sampler() { return driver->Sampler(); }
  // Begin, the configuration the upload dialog reads, the file's header, then the transfer.
  TransferResult Upload(const std::string& wav, const UploadChoices& choices,
                        RecordingProgress& progress);
  // The same through the upload source the file opens as (the channel is the choices'), as the
  // windows upload any audio file.
  TransferResult UploadFile(const std::string& path, const UploadChoices& choices,
                            RecordingProgress& progress, SourceOptions options = {});
  // Begin, the current wavesample's record, then the transfer into `path`.
  TransferResult Download(const std::string& path, RecordingProgress& progress);
};

// (start, end) of every message of this type the sampler received with a range after its
// target (PUT or GET WAVESAMPLE DATA).
std::vector<std::pair<int, int>> RangesSent(sim::SimulatedSampler& sampler, int type);
// How many messages of this type the sampler received.
int CountSent(sim::SimulatedSampler& sampler, int type);

// A mono 16-bit file written by the program's own writer.
void WriteMono16(const std::string& path, const std::vector<int16_t>& samples, int rate = 44100);
// A PCM file of any layout: the frames' raw bytes after a plain format chunk.
void WritePcm(const std::string& path, int channels, int bits, int rate,
              const std::vector<uint8_t>& frames);
// The raw frames of a PCM file's data chunk; empty when the file cannot be read.
std::vector<uint8_t> FrameBytes(const std::string& path);
// The samples of a mono 16-bit file, after checking that its header describes exactly them
// and the chunks after them.
std::vector<int16_t> DownloadedSamples(const std::string& path);

// The words an upload of these frames must store, by the conversion rules written out
// independently: 8-bit unsigned, 16-bit signed little-endian, left first.
std::vector<int16_t> ExpectedWords(const std::vector<uint8_t>& frames, int channels, int bits,
                                   int channelMode);

// Samples 0, 1, -2, 3, ... scaled to cover the 16-bit range, and a few extremes.
std::vector<int16_t> TestSignal(int count);

// Runs sox to make a file; false (with a reason for the skip) when sox is missing.
bool MakeWithSox(const std::string& path, int channels, int bits, int frames, std::string& why);

}  // namespace kelvora::transfer::test
