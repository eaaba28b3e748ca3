// Upload then download through the simulated sampler gives back the samples the upload's
// conversion table promises, for the program's own files and for files made by sox.
#include <gtest/gtest.h>

#include <tuple>

#include "protocol/NameCodec.h"
#include "protocol/Records.h"
#include "protocol/Sysex.h"
#include "transfer/transfer_support.h"
#include "transfer/wav_support.h"

namespace kelvora::transfer::test {
namespace {

using namespace protocol;
using ::testing::Combine;
using ::testing::Values;

constexpr int kNewInstrument = 4;  // the demo content fills instruments 0..2

UploadChoices NewInstrument(int channelMode = fcMono) {
  UploadChoices choices;
  choices.instrument = kNewInstrument;
  choices.channelMode = channelMode;
  return choices;
}

class RoundTrips : public TransferFixture {
 protected:
  // Uploads `wav`, downloads what the upload left as the current wavesample and returns it.
  std::vector<int16_t> RoundTrip(const std::string& wav, const UploadChoices& choices,
                                 const std::string& back) {
    RecordingProgress up;
    const TransferResult uploaded = Upload(wav, choices, up);
    EXPECT_EQ(uploaded.outcome, TransferOutcome::Done) << uploaded.message;
    RecordingProgress down;
    const TransferResult downloaded = Download(back, down);
    EXPECT_EQ(downloaded.outcome, TransferOutcome::Done) << downloaded.message;
    EXPECT_EQ(eps->UploadState, usIdle);
    EXPECT_EQ(eps->DownloadState, dsIdle);
    return DownloadedSamples(back);
  }

  TempFolder temp_;
};

class OwnFileRoundTrip : public RoundTrips,
                         public ::testing::WithParamInterface<std::tuple<int, int>> {};

TEST_P(OwnFileRoundTrip, MonoSixteenBitComesBackBitExact) {
  const auto [blockSize, frames] = GetParam();
  eps->BlockSize = blockSize;
  const std::vector<int16_t> signal = TestSignal(frames);
  WriteMono16(temp_ / "tone.wav", signal);
  EXPECT_EQ(RoundTrip(temp_ / "tone.wav", NewInstrument(), temp_ / "back.wav"), signal);
  // The two silent words went out after the sample end.
  const std::vector<int16_t> stored = SamplerData(kNewInstrument, 1);
  ASSERT_GE(stored.size(), signal.size() + 2);
  EXPECT_EQ(stored[signal.size()], 0);
  EXPECT_EQ(stored[signal.size() + 1], 0);
}

INSTANTIATE_TEST_SUITE_P(BlocksAndLengths, OwnFileRoundTrip,
                         Combine(Values(256, 1000, 10240), Values(1, 255, 256, 257, 100000)));

struct Layout {
  int channels;
  int bits;
  int channelMode;
};

class SoxRoundTrip : public RoundTrips,
                     public ::testing::WithParamInterface<std::tuple<Layout, int>> {};

TEST_P(SoxRoundTrip, ComesBackAsTheConversionTableSays) {
  const auto [layout, frames] = GetParam();
  std::string why;
  if (!MakeWithSox(temp_ / "sox.wav", layout.channels, layout.bits, frames, why)) {
    GTEST_SKIP() << why;
  }
  const std::vector<uint8_t> frameBytes = FrameBytes(temp_ / "sox.wav");
  ASSERT_EQ(frameBytes.size(), size_t(frames) * layout.channels * layout.bits / 8);
  eps->BlockSize = 1000;
  const std::vector<int16_t> expected =
      ExpectedWords(frameBytes, layout.channels, layout.bits, layout.channelMode);
  EXPECT_EQ(RoundTrip(temp_ / "sox.wav", NewInstrument(layout.channelMode), temp_ / "back.wav"),
            expected);
}

INSTANTIATE_TEST_SUITE_P(Layouts, SoxRoundTrip,
                         Combine(Values(Layout{1, 16, fcMono}, Layout{1, 8, fcMono},
                                        Layout{2, 16, fcLeft}, Layout{2, 16, fcRight},
                                        Layout{2, 16, fcMono}, Layout{2, 8, fcLeft},
                                        Layout{2, 8, fcRight}, Layout{2, 8, fcMono}),
                                 Values(1, 257, 100000)));

TEST_F(RoundTrips, ThousandFramesGoInFourBlocksAndComeBackInFour) {
  eps->BlockSize = 256;
  WriteMono16(temp_ / "k.wav", TestSignal(1000));
  testing::DebugLogCapture log;
  RoundTrip(temp_ / "k.wav", NewInstrument(), temp_ / "back.wav");
  // The first block goes out again after the instrument and after the layer were created.
  const std::vector<std::pair<int, int>> blocks = {{0, 256},   {0, 256},   {0, 256},
                                                   {256, 512}, {512, 768}, {768, 1002}};
  EXPECT_EQ(RangesSent(Sampler(), kPutWsData), blocks);
  const std::vector<std::pair<int, int>> requests = {{0, 256}, {256, 512}, {512, 768}, {768, 1000}};
  EXPECT_EQ(RangesSent(Sampler(), kGetWsData), requests);
  const std::string text = log.Text();
  for (const char* line :
       {"State 1\r\n", "State 9\r\n", "State 25\r\n", "-Download-\r\n", "WS Start :0\r\n",
        "WS End   :1000\r\n", "Rate     :1\r\n", "State :8\r\n", "GetWaveSampleData(768,1000)\r\n",
        "Last block received\r\n", "End of Download\r\n", "** Start of MidiIn Dump **"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line;
  }
}

TEST_F(RoundTrips, ReplacingAWavesampleDeletesTheOldOneFirst) {
  WriteMono16(temp_ / "old.wav", TestSignal(1000));
  const std::vector<int16_t> shorter(300, 1234);
  WriteMono16(temp_ / "new.wav", shorter);
  RoundTrip(temp_ / "old.wav", NewInstrument(), temp_ / "back.wav");
  testing::DebugLogCapture log;
  EXPECT_EQ(RoundTrip(temp_ / "new.wav", NewInstrument(), temp_ / "back.wav"), shorter);
  EXPECT_EQ(CountSent(Sampler(), kDeleteWaveSample), 1);
  EXPECT_NE(log.Text().find("Deleting old WaveSample\r\n"), std::string::npos);
}

TEST_F(RoundTrips, ProgressRunsFromCaptionToHide) {
  eps->BlockSize = 256;
  WriteMono16(temp_ / "k.wav", TestSignal(100));
  RecordingProgress progress;
  ASSERT_TRUE(Upload(temp_ / "k.wav", NewInstrument(), progress).Succeeded());
  EXPECT_EQ(progress.calls,
            (std::vector<std::string>{"caption Uploading ...", "show", "update", "hide"}));
  EXPECT_FLOAT_EQ(progress.updates.back().percent, 102);

  WriteMono16(temp_ / "long.wav", TestSignal(1000));
  RecordingProgress download;
  ASSERT_TRUE(Upload(temp_ / "long.wav", NewInstrument(), progress).Succeeded());
  ASSERT_TRUE(Download(temp_ / "back.wav", download).Succeeded());
  ASSERT_EQ(download.updates.size(), 4u);
  EXPECT_EQ(download.calls.front(), "caption Downloading...");
  EXPECT_FLOAT_EQ(download.updates[0].percent, 25);
  EXPECT_FLOAT_EQ(download.updates[3].percent, 100);
  EXPECT_EQ(download.calls.back(), "hide");
}

TEST_F(RoundTrips, FileNameRateAndRootKeyReachTheSampler) {
  WriteMono16(temp_ / "kick.01.wav", TestSignal(300), 22050);
  UploadChoices choices = NewInstrument();
  choices.rootKey = 48;
  RecordingProgress progress;
  ASSERT_TRUE(Upload(temp_ / "kick.01.wav", choices, progress).Succeeded());
  Sampler().WaitIdle(std::chrono::seconds(5));
  Sampler().WithMemory([](sim::SamplerMemory& memory) {
    EXPECT_EQ(DecodeName(memory.Instrument(kNewInstrument)->record.data()), "Kick");
    const sim::WsRecord& record = memory.WaveSample(kNewInstrument, 1)->record;
    EXPECT_EQ(record[kWsRate], 28 << 8);
    EXPECT_EQ(record[kWsRootKey], 48 << 8);
    EXPECT_EQ(GetPosition(record.data(), kWsSampleEnd), 300);
    return 0;
  });
  // The rate code is what the download writes back: 625000 / 28.
  ASSERT_TRUE(Download(temp_ / "back.wav", progress).Succeeded());
  const Bytes header = Load(temp_ / "back.wav");
  EXPECT_EQ(header[24] | header[25] << 8 | header[26] << 16, 22321);
}

TEST_F(RoundTrips, RateCodeFourteenDownloadsAs44642Hz) {
  WriteMono16(temp_ / "w.wav", TestSignal(10));
  RecordingProgress progress;
  ASSERT_TRUE(Upload(temp_ / "w.wav", NewInstrument(), progress).Succeeded());
  Sampler().WithMemory([](sim::SamplerMemory& memory) {
    memory.SetWsWord(kNewInstrument, 1, kWsRate, 14 << 8);
    return 0;
  });
  ASSERT_TRUE(Download(temp_ / "back.wav", progress).Succeeded());
  const Bytes header = Load(temp_ / "back.wav");
  EXPECT_EQ(header[24] | header[25] << 8 | header[26] << 16, 44642);
}

TEST_F(RoundTrips, KeyRangesGoOutAsParameters) {
  WriteMono16(temp_ / "w.wav", TestSignal(10));
  UploadChoices choices = NewInstrument();
  choices.range = KeyRangeMode::Custom;
  choices.loKey = 40;
  choices.hiKey = 50;
  RecordingProgress progress;
  ASSERT_TRUE(Upload(temp_ / "w.wav", choices, progress).Succeeded());
  choices.waveSample = 2;
  choices.range = KeyRangeMode::Root;
  choices.rootKey = 64;
  ASSERT_TRUE(Upload(temp_ / "w.wav", choices, progress).Succeeded());
  Sampler().WaitIdle(std::chrono::seconds(5));
  EXPECT_EQ(CountSent(Sampler(), kPutParameter), 4);
  Sampler().WithMemory([](sim::SamplerMemory& memory) {
    EXPECT_EQ(memory.WaveSample(kNewInstrument, 1)->record[kWsLowKey], 40 << 8);
    EXPECT_EQ(memory.WaveSample(kNewInstrument, 1)->record[kWsHighKey], 50 << 8);
    EXPECT_EQ(memory.WaveSample(kNewInstrument, 2)->record[kWsLowKey], 64 << 8);
    EXPECT_EQ(memory.WaveSample(kNewInstrument, 2)->record[kWsHighKey], 64 << 8);
    return 0;
  });
}

TEST_F(RoundTrips, MorlavineFileArrivesAsAForwardLoop) {
  Bytes frames;
  for (int i = 0; i < 2000; ++i) frames = frames + Le16(static_cast<unsigned>(i * 7));
  // An odd-sized chunk before the format chunk, with its pad byte, must not derail the reader.
  Save(temp_ / "loop.wav",
       RiffOf(ChunkOf("junk", Bytes(3, 1)) + ChunkOf("fmt ", FmtBody(1, 1, 44100, 16, 2)) +
              ChunkOf("mrlv", Le16(1500) + Le16(0) + Le16(0) + Le16(5)) + ChunkOf("data", frames)));
  RecordingProgress progress;
  ASSERT_TRUE(Upload(temp_ / "loop.wav", NewInstrument(), progress).Succeeded());
  EXPECT_EQ(progress.calls.front(), "caption Uploading Morlavine file ...");
  Sampler().WaitIdle(std::chrono::seconds(5));
  Sampler().WithMemory([](sim::SamplerMemory& memory) {
    const sim::WsRecord& record = memory.WaveSample(kNewInstrument, 1)->record;
    EXPECT_EQ(record[kWsPlaybackMode], kLoopForward);
    EXPECT_EQ(GetPosition(record.data(), kWsLoopEnd), 1500);
    EXPECT_EQ(GetPosition(record.data(), kWsSampleEnd), 2000);
    EXPECT_EQ(record[kWsWord134], 5 << 8);
    return 0;
  });
}

}  // namespace
}  // namespace kelvora::transfer::test
