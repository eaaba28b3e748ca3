// What a download writes: the specified WAV file with a smpl chunk after the samples that other
// programs read the loop and root key from, and the FLAC, AIFF and 44.1/48 kHz files the user may
// prefer.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>

#include "protocol/Records.h"
#include "transfer/RiffFile.h"
#include "transfer/SamplerRates.h"
#include "transfer/sound_support.h"
#include "transfer/transfer_support.h"
#include "transfer/wav_support.h"

namespace kelvora::transfer::test {
namespace {

using namespace protocol;

constexpr int kTarget = 3;

class DownloadFile : public TransferFixture {
 protected:
  // A 24-bit 22050 Hz tone with a loop from 2000 to 6000 and root key 48, uploaded (to
  // 22321 Hz) into the target and opened.
  void UploadLoopedTone() {
    FileMarks marks;
    marks.loop = SourceLoop{2000, 6000, {}};
    marks.rootKey = 48;
    WriteSound(temp_ / "loop.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 22050, 1,
               Tone(1000, 22050, 0.4), marks);
    UploadChoices choices;
    choices.instrument = kTarget;
    choices.rootKey = 48;
    RecordingProgress progress;
    ASSERT_TRUE(UploadFile(temp_ / "loop.wav", choices, progress).Succeeded());
    ASSERT_EQ(eps->OpenWs(false), 1);
    loopStart_ = GetPosition(eps->WsParams, kWsLoopStart);
    loopEnd_ = GetPosition(eps->WsParams, kWsLoopEnd);
    frames_ = GetPosition(eps->WsParams, kWsSampleEnd);
  }
  TransferResult DownloadAs(const std::string& name, const DownloadFormat& format) {
    DownloadEngine engine(*eps, progress_);
    EXPECT_TRUE(engine.Begin());
    return engine.Download(temp_ / name, format);
  }

  TempFolder temp_;
  RecordingProgress progress_;
  int loopStart_ = 0;
  int loopEnd_ = 0;
  int frames_ = 0;
};

TEST_F(DownloadFile, TheLoopGoesInAndComesOutInTheSmplChunk) {
  UploadLoopedTone();
  const double ratio = PlayedRate(28) / 22050;
  EXPECT_NEAR(loopStart_, 2000 * ratio, 1);
  EXPECT_NEAR(loopEnd_, 6000 * ratio, 1);
  ASSERT_TRUE(Download(temp_ / "back.wav", progress_).Succeeded());
  const SoundRead read = ReadSound(temp_ / "back.wav");
  EXPECT_EQ(read.rate, 22321);
  EXPECT_EQ(read.samples.size(), size_t(frames_));
  ASSERT_TRUE(read.marks.loop);
  EXPECT_EQ(read.marks.loop->start, loopStart_);
  EXPECT_EQ(read.marks.loop->end, loopEnd_);
  EXPECT_EQ(read.marks.rootKey, 48);
}

TEST_F(DownloadFile, TheSpecifiedHeaderStaysAndTheSmplChunkFollowsTheSamples) {
  UploadLoopedTone();
  ASSERT_TRUE(Download(temp_ / "back.wav", progress_).Succeeded());
  const Bytes bytes = Load(temp_ / "back.wav");
  const uint32_t data = 2 * static_cast<uint32_t>(frames_);
  const Bytes header = Text("RIFF") + Le32(36 + data + 68) + Text("WAVE") + Text("fmt ") +
                       Le32(16) + Le16(1) + Le16(1) + Le32(22321) + Le32(44642) + Le16(2) +
                       Le16(16) + Text("data") + Le32(data);
  ASSERT_EQ(bytes.size(), 44 + data + 68);
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 44), header);
  // Root key 48, the period 28 x 1.6 us, one forward loop whose end is its last sample.
  const Bytes smpl = Text("smpl") + Le32(60) + Le32(0) + Le32(0) + Le32(44800) + Le32(48) +
                     Le32(0) + Le32(0) + Le32(0) + Le32(1) + Le32(0) + Le32(0) + Le32(0) +
                     Le32(loopStart_) + Le32(loopEnd_ - 1) + Le32(0) + Le32(0);
  EXPECT_EQ(Bytes(bytes.begin() + 44 + data, bytes.end()), smpl);
  // The WAV reader stops at the data, as it always did.
  TRiffFile riff;
  riff.SetFileName(temp_ / "back.wav");
  ASSERT_TRUE(riff.ReadHeader()) << riff.LastError();
  EXPECT_EQ(riff.FrameCount, frames_);
  EXPECT_FALSE(riff.CutShort);
}

TEST_F(DownloadFile, AWavesampleWithoutALoopHasNoneInItsFile) {
  WriteMono16(temp_ / "plain.wav", TestSignal(1000), 44100);
  UploadChoices choices;
  choices.instrument = kTarget;
  ASSERT_TRUE(Upload(temp_ / "plain.wav", choices, progress_).Succeeded());
  ASSERT_EQ(eps->OpenWs(false), 1);
  ASSERT_TRUE(Download(temp_ / "back.wav", progress_).Succeeded());
  const SoundRead read = ReadSound(temp_ / "back.wav");
  EXPECT_FALSE(read.marks.loop);
  EXPECT_EQ(read.marks.rootKey, 60);
  EXPECT_EQ(DownloadedSamples(temp_ / "back.wav"), TestSignal(1000));
}

TEST_F(DownloadFile, FlacAiffAndConvertedRatesKeepThePitch) {
  UploadLoopedTone();
  const struct {
    const char* name;
    DownloadFormat format;
    int rate;
    bool loop;  // libsndfile writes the loop only into WAV files
  } rows[] = {
      {"back.flac", {DownloadFormat::Flac, 0}, 22321, false},
      {"back.aiff", {DownloadFormat::Aiff, 0}, 22321, false},
      {"back48.wav", {DownloadFormat::Wav, 48000}, 48000, true},
      {"back44.flac", {DownloadFormat::Flac, 44100}, 44100, false},
  };
  for (const auto& row : rows) {
    ASSERT_TRUE(DownloadAs(row.name, row.format).Succeeded()) << row.name;
    const SoundRead read = ReadSound(temp_ / row.name);
    EXPECT_EQ(read.rate, row.rate) << row.name;
    const double ratio = row.rate / PlayedRate(28);
    EXPECT_NEAR(double(read.samples.size()), frames_ * ratio, 2) << row.name;
    // At the sampler's rate the file's whole hertz is 0.03 cents off the sampler's 22321.43 Hz.
    EXPECT_NEAR(CentsOff(MeasuredFrequency(read.samples, read.rate), 1000), 0, 0.1) << row.name;
    ASSERT_EQ(bool(read.marks.loop), row.loop) << row.name;
    if (row.loop) {
      EXPECT_NEAR(read.marks.loop->end, loopEnd_ * ratio, 1) << row.name;
    }
  }
}

TEST_F(DownloadFile, ACancelledFlacDownloadHoldsWhatCameThrough) {
  UploadLoopedTone();
  eps->BlockSize = 256;
  progress_.cancelAfterUpdates = 2;
  const TransferResult result = DownloadAs("cut.flac", {DownloadFormat::Flac, 0});
  EXPECT_EQ(result.outcome, TransferOutcome::Cancelled);
  EXPECT_EQ(ReadSound(temp_ / "cut.flac").samples.size(), 512u);
}

}  // namespace
}  // namespace kelvora::transfer::test
