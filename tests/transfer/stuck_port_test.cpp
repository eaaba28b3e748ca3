// An output port whose driver stops reporting sends as finished raises after 20 s; a transfer
// caught by it ends as a failure with the port's message, its file closed and honest.
#include <gtest/gtest.h>

#include <atomic>

#include "transfer/RiffFile.h"
#include "transfer/transfer_support.h"
#include "transfer/wav_support.h"

namespace kelvora::transfer::test {
namespace {

// Once stuck, long messages vanish and their sends never finish.
class StuckDriver : public sim::SimMidiDriver {
 public:
  using SimMidiDriver::SimMidiDriver;
  void SendLong(int slot, const uint8_t* data, size_t length) override {
    if (!stuck) SimMidiDriver::SendLong(slot, data, length);
  }
  std::atomic<bool> stuck{false};
};

class StuckPort : public TransferFixture {
 protected:
  void SetUp() override {
    TransferFixture::SetUp();
    eps->BlockSize = 256;
  }
  std::unique_ptr<sim::SimMidiDriver> MakeDriver(const sim::SimOptions& options) override {
    auto driver = std::make_unique<StuckDriver>(options);
    stuck_ = driver.get();
    return driver;
  }

  // The port sticks once the transfer has shown its first block.
  void StickAfterFirstBlock(RecordingProgress& progress) {
    progress.onUpdate = [this](int updates) {
      if (updates == 1) stuck_->stuck = true;
    };
  }

  StuckDriver* stuck_ = nullptr;
  TempFolder temp_;
};

TEST_F(StuckPort, DownloadFailsWithAnHonestFile) {
  RecordingProgress progress;
  StickAfterFirstBlock(progress);
  const TransferResult result = Download(temp_ / "stuck.wav", progress);
  EXPECT_EQ(result.outcome, TransferOutcome::Failed);
  EXPECT_EQ(result.message, "error: Midiout takes too long to send data");
  EXPECT_EQ(DownloadedSamples(temp_ / "stuck.wav").size(), static_cast<size_t>(result.samples));
  EXPECT_EQ(result.samples, 256);
  EXPECT_EQ(eps->DownloadState, protocol::dsIdle);
  EXPECT_EQ(progress.calls.back(), "hide");
}

TEST_F(StuckPort, UploadFailsAndClosesItsFile) {
  WriteMono16(temp_ / "source.wav", TestSignal(1000));
  RecordingProgress progress;
  StickAfterFirstBlock(progress);
  UploadChoices choices;
  choices.instrument = 4;
  const TransferResult result = Upload(temp_ / "source.wav", choices, progress);
  EXPECT_EQ(result.outcome, TransferOutcome::Failed);
  EXPECT_EQ(result.message, "error: Midiout takes too long to send data");
  EXPECT_EQ(eps->UploadState, protocol::usIdle);
  EXPECT_EQ(progress.calls.back(), "hide");
}

}  // namespace
}  // namespace kelvora::transfer::test
