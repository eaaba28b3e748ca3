// Transfers that go wrong end cleanly: the outcome says what happened, a stopped download's
// file tells the truth about its length, and nothing is sent for a file that cannot be sent.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <stdexcept>

#include "protocol/Records.h"
#include "protocol/Sysex.h"
#include "sim/FaultPlan.h"
#include "sim/SamplerStatus.h"
#include "transfer/transfer_support.h"
#include "transfer/wav_support.h"

namespace kelvora::transfer::test {
namespace {

using namespace protocol;

constexpr int kNewInstrument = 4;

class Faults : public TransferFixture {
 protected:
  // A 1000-sample wavesample at (kNewInstrument, 0, 1), uploaded from the program's own file.
  void UploadThousand() {
    WriteMono16(temp_ / "source.wav", signal_);
    UploadChoices choices;
    choices.instrument = kNewInstrument;
    RecordingProgress progress;
    ASSERT_TRUE(Upload(temp_ / "source.wav", choices, progress).Succeeded());
  }

  std::vector<int16_t> Head(size_t count) const {
    return std::vector<int16_t>(signal_.begin(), signal_.begin() + static_cast<long>(count));
  }

  TempFolder temp_;
  std::vector<int16_t> signal_ = TestSignal(1000);
};

TEST_F(Faults, CancelAfterTwoOfFourBlocksLeavesAnHonestFile) {
  eps->BlockSize = 256;
  UploadThousand();
  RecordingProgress progress;
  progress.cancelAfterUpdates = 2;
  testing::DebugLogCapture log;
  const TransferResult result = Download(temp_ / "cut.wav", progress);
  EXPECT_EQ(result.outcome, TransferOutcome::Cancelled);
  EXPECT_EQ(result.samples, 512);
  // The header, the samples that came through, and a smpl chunk without a loop.
  EXPECT_EQ(std::filesystem::file_size(temp_ / "cut.wav"), 44u + 1024u + 44u);
  EXPECT_EQ(DownloadedSamples(temp_ / "cut.wav"), Head(512));
  EXPECT_EQ(progress.calls.back(), "hide");
  EXPECT_EQ(eps->DownloadState, dsIdle);
  const std::string text = log.Text();
  EXPECT_NE(text.find("User pressed Cancel\r\nState :0\r\nEnd of Download"), std::string::npos);
}

TEST_F(Faults, SilenceInTheMiddleOfABlockIsLeftWithCancel) {
  eps->BlockSize = 256;
  UploadThousand();
  RecordingProgress progress;
  // The third block's data message stops after 100 of its 773 bytes and nothing follows.
  progress.onUpdate = [&](int updates) {
    if (updates == 2) {
      sim::FaultPlan plan;
      plan.cutMessageAfter = 100;
      Sampler().SetFaults(plan);
      progress.cancelWhenIdle = std::chrono::milliseconds(500);  // the user gives up
    }
  };
  uint32_t lastPoll = midi::TickCount();
  uint32_t longestGap = 0;
  progress.cancelWhen = [&] {
    longestGap = std::max(longestGap, midi::TickCount() - lastPoll);
    lastPoll = midi::TickCount();
    return false;
  };
  const TransferResult result = Download(temp_ / "stalled.wav", progress);
  EXPECT_EQ(result.outcome, TransferOutcome::Cancelled);
  EXPECT_EQ(DownloadedSamples(temp_ / "stalled.wav"), Head(512));
  // The wait blocked on the port instead of spinning: a few passes per slice at most.
  EXPECT_LT(progress.polls, 200);
  // However long the silence, Cancel and the window's events are served once a slice.
  EXPECT_GT(longestGap, 0u);
  EXPECT_LE(longestGap, TransferLoop::kSliceMs + 1);
}

TEST_F(Faults, DataHeaderAnnouncingMoreThanAskedFails) {
  eps->BlockSize = 256;
  UploadThousand();
  RecordingProgress progress;
  progress.onUpdate = [&](int updates) {
    if (updates == 1) {
      sim::FaultPlan plan;
      plan.overlongDataWords = 300;
      Sampler().SetFaults(plan);
    }
  };
  const TransferResult result = Download(temp_ / "long.wav", progress);
  EXPECT_EQ(result.outcome, TransferOutcome::Failed);
  EXPECT_NE(result.message.find("256 to 556 instead of 256 to 512"), std::string::npos)
      << result.message;
  EXPECT_FALSE(result.noDestination);  // the file is there, holding what arrived
  EXPECT_EQ(DownloadedSamples(temp_ / "long.wav"), Head(256));
}

TEST_F(Faults, DataHeaderBeyondTheBufferFails) {
  eps->BlockSize = 256;
  UploadThousand();
  sim::FaultPlan plan;
  plan.overlongDataWords = kSampleBufferWords + 1;
  Sampler().SetFaults(plan);
  RecordingProgress progress;
  const TransferResult result = Download(temp_ / "huge.wav", progress);
  EXPECT_EQ(result.outcome, TransferOutcome::Failed);
  EXPECT_TRUE(DownloadedSamples(temp_ / "huge.wav").empty());
}

TEST_F(Faults, EmptyWavesampleIsRefusedWithoutAFile) {
  UploadThousand();
  Sampler().WithMemory([](sim::SamplerMemory& memory) {
    int record[kWsRecordWords];
    std::copy_n(memory.WaveSample(kNewInstrument, 1)->record.begin(), kWsRecordWords, record);
    SetPosition(record, kWsSampleStart, 300);
    SetPosition(record, kWsSampleEnd, 300);
    memory.PutWsRecord(kNewInstrument, 1, record);
    return 0;
  });
  RecordingProgress progress;
  const TransferResult result = Download(temp_ / "empty.wav", progress);
  EXPECT_EQ(result.outcome, TransferOutcome::Refused);
  EXPECT_NE(result.message.find("no samples"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(temp_ / "empty.wav"));
  EXPECT_TRUE(progress.calls.empty());
}

TEST_F(Faults, DestinationThatCannotBeCreated) {
  UploadThousand();
  RecordingProgress progress;
  const std::string path = temp_ / "no/such/folder.wav";
  const TransferResult result = Download(path, progress);
  EXPECT_EQ(result.outcome, TransferOutcome::Failed);
  EXPECT_EQ(result.message.rfind("Unable to create destination file '" + path + "'. \n", 0), 0u);
  EXPECT_TRUE(result.noDestination);
  EXPECT_TRUE(progress.calls.empty());
}

// Progress that cannot be shown: the exception leaves the download at once.
class ThrowingProgress : public RecordingProgress {
 public:
  void ShowProgress() override { throw std::runtime_error("no progress window"); }
};

size_t OpenDescriptors() {
  return static_cast<size_t>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                           std::filesystem::directory_iterator()));
}

TEST_F(Faults, ADownloadLeftByAnExceptionClosesItsFile) {
  UploadThousand();
  const size_t before = OpenDescriptors();
  ThrowingProgress progress;
  EXPECT_THROW(Download(temp_ / "thrown.wav", progress), std::runtime_error);
  EXPECT_EQ(OpenDescriptors(), before);
}

TEST_F(Faults, SlowDownOnEveryBlockRaisesTheDelay) {
  eps->BlockSize = 256;
  sim::FaultPlan plan;
  plan.slowDownEveryBlock = true;
  Sampler().SetFaults(plan);
  testing::DebugLogCapture log;
  UploadThousand();
  EXPECT_EQ(eps->Delay, 400);  // four blocks, 100 ms more each
  // Each block twice, and the first two more times while instrument and layer were created.
  EXPECT_EQ(CountSent(Sampler(), kPutWsData), 4 * 2 + 2);
  const std::string text = log.Text();
  EXPECT_NE(text.find("Delay set to100\r\n"), std::string::npos);
  EXPECT_NE(text.find("Delay set to400\r\n"), std::string::npos);
  RecordingProgress progress;
  ASSERT_TRUE(Download(temp_ / "back.wav", progress).Succeeded());
  EXPECT_EQ(DownloadedSamples(temp_ / "back.wav"), signal_);
}

TEST_F(Faults, DelayStopsAt4000) {
  eps->BlockSize = 256;
  eps->Delay = 3950;
  sim::FaultPlan plan;
  plan.slowDownEveryBlock = true;
  Sampler().SetFaults(plan);
  WriteMono16(temp_ / "two.wav", TestSignal(300));  // two blocks, each asked to slow down
  UploadChoices choices;
  choices.instrument = kNewInstrument;
  RecordingProgress progress;
  EXPECT_TRUE(Upload(temp_ / "two.wav", choices, progress).Succeeded());
  EXPECT_EQ(eps->Delay, 4000);
}

TEST_F(Faults, SilentSamplerDuringUploadIsLeftWithCancel) {
  eps->BlockSize = 256;
  WriteMono16(temp_ / "source.wav", signal_);
  RecordingProgress progress;
  progress.onUpdate = [&](int updates) {
    if (updates == 2) {
      sim::FaultPlan plan;
      plan.silentMessages = 1;
      Sampler().SetFaults(plan);
      progress.cancelWhenIdle = std::chrono::milliseconds(500);
    }
  };
  UploadChoices choices;
  choices.instrument = kNewInstrument;
  const TransferResult result = Upload(temp_ / "source.wav", choices, progress);
  EXPECT_EQ(result.outcome, TransferOutcome::Cancelled);
  EXPECT_EQ(result.samples, 512);
  EXPECT_EQ(progress.calls.back(), "hide");
  EXPECT_EQ(eps->UploadState, usIdle);
}

TEST_F(Faults, MissingInstrumentAndLayerAreCreated) {
  UploadThousand();
  EXPECT_EQ(CountSent(Sampler(), kCreateInstrument), 1);
  EXPECT_EQ(CountSent(Sampler(), kCreateLayer), 1);
  EXPECT_EQ(eps->Layer, 0);
  EXPECT_EQ(eps->WaveSample, 1);
  EXPECT_EQ(SamplerData(kNewInstrument, 1).at(999), signal_[999]);
}

TEST_F(Faults, MissingWavesampleIsCreatedWithoutAWarningBox) {
  WriteMono16(temp_ / "source.wav", signal_);
  UploadChoices choices;
  choices.waveSample = 40;  // instrument 1 of the demo has layer 0 but no wavesample 40
  RecordingProgress progress;
  ASSERT_TRUE(Upload(temp_ / "source.wav", choices, progress).Succeeded());
  EXPECT_EQ(CountSent(Sampler(), kCreateWaveSample), 1);
  EXPECT_EQ(ui.invalidWaveSampleBoxes, 0);
  EXPECT_EQ(eps->WaveSample, 40);
  const std::vector<int16_t> stored = SamplerData(0, 40);
  ASSERT_GE(stored.size(), 1000u);
  EXPECT_EQ(std::vector<int16_t>(stored.begin(), stored.begin() + 1000), signal_);
}

TEST_F(Faults, MissingLayerIsCreated) {
  WriteMono16(temp_ / "source.wav", signal_);
  eps->ReadConfig();
  UploadChoices choices;
  choices.instrument = 1;  // the demo's one-layer instrument
  choices.layer = eps->FirstFreeLayer[1];
  choices.waveSample = eps->FirstFreeWs[1] + 1;
  RecordingProgress progress;
  ASSERT_TRUE(Upload(temp_ / "source.wav", choices, progress).Succeeded());
  EXPECT_EQ(CountSent(Sampler(), kCreateLayer), 1);
  EXPECT_EQ(SamplerData(1, choices.waveSample).at(500), signal_[500]);
}

TEST_F(Faults, CreationThatDoesNotTakeEndsTheUpload) {
  sim::FaultPlan plan;
  plan.forcedStatus[kPutWsData] = sim::kNoLayer;
  Sampler().SetFaults(plan);
  WriteMono16(temp_ / "source.wav", signal_);
  UploadChoices choices;
  choices.waveSample = 40;
  RecordingProgress progress;
  const TransferResult result = Upload(temp_ / "source.wav", choices, progress);
  EXPECT_EQ(result.outcome, TransferOutcome::Failed);
  EXPECT_NE(result.message.find("layer missing after creating it"), std::string::npos);
  EXPECT_EQ(CountSent(Sampler(), kCreateLayer), 1);
}

// The sampler on a cable at MIDI speed, so its answers are still on the way when Cancel comes.
class LateAnswers : public Faults {
 protected:
  // In real time: a block takes real time to cross the paced cable, which a virtual clock that
  // jumps over quiet waits would take for a port that stopped sending.
  void SetUp() override {
    Faults::SetUp();
    UseRealTime();
  }
  sim::SimOptions Options() override {
    sim::SimOptions options = Faults::Options();
    options.paced = true;
    return options;
  }

  struct Config {
    std::vector<std::string> names;
    std::vector<bool> inUse;
  };

  Config ReadBack() {
    EXPECT_TRUE(eps->OpenDevices());
    eps->ReadConfig();
    Config config;
    for (int i = 0; i < kInstruments; ++i) {
      config.names.push_back(eps->InstrName[i]);
      config.inUse.push_back(eps->InstrInUse[i]);
    }
    return config;
  }
};

// Whatever the sampler was still sending when Cancel came (the answer to a request, a data
// header, the rest of a block) must not be taken for the answers to the next requests.
TEST_F(LateAnswers, CancelLeavesTheNextExchangesInStep) {
  eps->BlockSize = 512;
  const Config before = ReadBack();
  ASSERT_TRUE(before.inUse[0] && before.inUse[1] && before.inUse[2]);
  struct Moment {
    const char* name;
    bool upload;
    int state;
  };
  for (const Moment& moment :
       {Moment{"request sent", false, dsWaitAck}, Moment{"header coming", false, dsWaitHeader},
        Moment{"block coming", false, dsWaitData}, Moment{"block sent", true, usWaitDataAck}}) {
    SCOPED_TRACE(moment.name);
    RecordingProgress progress;
    progress.cancelWhen = [&] {
      return (moment.upload ? eps->UploadState : eps->DownloadState) == moment.state;
    };
    TransferResult result;
    if (moment.upload) {
      WriteMono16(temp_ / "source.wav", TestSignal(2000));
      UploadChoices choices;
      choices.instrument = kNewInstrument;
      result = Upload(temp_ / "source.wav", choices, progress);
    } else {
      result = Download(temp_ / "cut.wav", progress);
    }
    ASSERT_EQ(result.outcome, TransferOutcome::Cancelled) << result.message;
    Config after = ReadBack();
    if (moment.upload) {  // the cancelled upload had created its instrument
      after.inUse[kNewInstrument] = before.inUse[kNewInstrument];
      after.names[kNewInstrument] = before.names[kNewInstrument];
    }
    EXPECT_EQ(after.names, before.names);
    EXPECT_EQ(after.inUse, before.inUse);
    EXPECT_EQ(ui.noEpsReasons.size(), 0u);
  }
}

class SmallMemory : public Faults {
 protected:
  sim::SimOptions Options() override {
    sim::SimOptions options = Faults::Options();
    options.demoContent = false;
    options.memoryWords = 2048;
    return options;
  }
};

TEST_F(SmallMemory, MemoryFullFailsTheUpload) {
  eps->BlockSize = 256;
  WriteMono16(temp_ / "big.wav", TestSignal(5000));
  UploadChoices choices;
  choices.instrument = 0;
  RecordingProgress progress;
  const TransferResult result = Upload(temp_ / "big.wav", choices, progress);
  EXPECT_EQ(result.outcome, TransferOutcome::Failed);
  EXPECT_NE(result.message.find("memory"), std::string::npos) << result.message;
  EXPECT_LE(result.samples, 2048);
  EXPECT_EQ(progress.calls.back(), "hide");
}

class Refusals : public TransferFixture {
 protected:
  // Uploads a crafted file onto the demo's wavesample (0, 0, 1) and returns the refusal.
  std::string Refusal(const Bytes& file) {
    Save(temp_ / "odd.wav", file);
    UploadEngine engine(*eps, progress_);
    EXPECT_TRUE(engine.Begin());
    eps->ReadConfig();
    const size_t before = Sampler().Log().Messages().size();
    TRiffFile riff;
    riff.SetFileName(temp_ / "odd.wav");
    riff.ReadHeader();
    const TransferResult result = engine.Upload(UploadChoices{}, riff);
    EXPECT_EQ(result.outcome, TransferOutcome::Refused);
    Sampler().WaitIdle(std::chrono::seconds(5));
    EXPECT_EQ(Sampler().Log().Messages().size(), before) << "something was sent";
    EXPECT_FALSE(riff.IsOpen);
    EXPECT_FALSE(SamplerData(0, 1).empty()) << "the old wavesample was deleted";
    return result.message;
  }

  static Bytes Pcm(int tag, int channels, int rate, int bits, const Bytes& data = Bytes(12, 0)) {
    const int align = channels * bits / 8;
    return RiffOf(ChunkOf("fmt ", FmtBody(tag, channels, rate, bits, align)) +
                  ChunkOf("data", data));
  }

  TempFolder temp_;
  RecordingProgress progress_;
};

TEST_F(Refusals, UnconvertibleFilesAreRefusedBeforeAnythingIsSent) {
  EXPECT_NE(Refusal(Pcm(3, 1, 44100, 32)).find("floating point"), std::string::npos);
  EXPECT_NE(Refusal(Pcm(0xFFFE, 2, 44100, 16)).find("extensible"), std::string::npos);
  EXPECT_NE(Refusal(Pcm(1, 3, 44100, 16)).find("3 channels"), std::string::npos);
  EXPECT_NE(Refusal(Pcm(1, 1, 44100, 24)).find("24 bits"), std::string::npos);
  EXPECT_NE(Refusal(Pcm(1, 1, 0, 16)).find("0 Hz"), std::string::npos);
  EXPECT_NE(Refusal(Pcm(1, 1, 44100, 16, {})).find("no samples"), std::string::npos);
  EXPECT_TRUE(progress_.calls.empty());
}

}  // namespace
}  // namespace kelvora::transfer::test
