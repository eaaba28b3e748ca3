// A long run of random operations against the unpaced simulated sampler, with faults injected
// at random: nothing may crash, every transfer must end cleanly, and the heap must not grow
// with the number of operations. Set KELVORA_SOAK_SEED to repeat a run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <iostream>
#include <random>

#include <malloc.h>

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime; its allocator replaces malloc's, so mallinfo2 sees nothing.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

#include "midi/PortError.h"
#include "protocol/Records.h"
#include "sim/FaultPlan.h"
#include "transfer/RiffFile.h"
#include "transfer/transfer_support.h"
#include "transfer/wav_support.h"

namespace kelvora::transfer::test {
namespace {

using namespace protocol;

constexpr int kOperations = 2000;
constexpr int kWarmUp = 300;
// Heap growth allowed between the end of the warm-up and the end of the run.
constexpr int64_t kGrowthBound = 8 * 1024 * 1024;

int64_t HeapInUse() {
#if defined(__SANITIZE_ADDRESS__)
  return static_cast<int64_t>(__sanitizer_get_current_allocated_bytes());
#else
  return static_cast<int64_t>(mallinfo2().uordblks);
#endif
}

uint32_t Seed() {
  if (const char* text = std::getenv("KELVORA_SOAK_SEED")) {
    return static_cast<uint32_t>(std::strtoul(text, nullptr, 10));
  }
  return std::random_device{}();
}

// Cancels a transfer that has shown no progress for a virtual second.
class ImpatientUser : public TransferProgress {
 public:
  explicit ImpatientUser(testing::FakeClock& clock) : clock_(clock) {}
  void SetCaption(const std::string&) override {}
  void ShowProgress() override { last_ = clock_.Now(); }
  void UpdateProgress(float, float) override { last_ = clock_.Now(); }
  void HideProgress() override {}
  bool Cancelled() override { return clock_.Now() - last_ > 1000; }

 private:
  testing::FakeClock& clock_;
  uint32_t last_ = 0;
};

class Soak : public TransferFixture {
 protected:
  void SetUp() override {
    TransferFixture::SetUp();
    driver->SetRecording(false);
    // A short settle keeps the run fast; a reply that comes later than it counts as a time-out,
    // which is one more fault the session must survive.
    clock.SetSettleTime(std::chrono::milliseconds(100));
    WriteMono16(temp_ / "up.wav", TestSignal(700));
  }

  void RandomFault() {
    sim::FaultPlan plan;
    switch (Pick(9)) {
      case 0:
        plan.silentMessages = 1;
        break;
      case 1:
        plan.byteIndex = Pick(60);
        break;
      case 2:
        plan.byteIndex = Pick(60);
        plan.dropByte = false;
        plan.replacementByte = static_cast<uint8_t>(Pick(256));
        break;
      case 3:
        plan.wrongChannelMessages = 1;
        break;
      case 4:
        plan.waitsBeforeAnswer = 1 + Pick(20);
        break;
      case 5:
        plan.slowDownEveryBlock = true;
        break;
      case 6:
        plan.overlongDataWords = 1 + Pick(20000);
        break;
      case 7:
        plan.cutMessageAfter = Pick(40);
        break;
      default:
        plan.forcedStatus[0x02 + Pick(0x40)] = 2 + Pick(29);
        break;
    }
    Sampler().SetFaults(plan);
  }

  void RandomOperation() {
    const std::vector<std::function<void()>> operations = {
        [&] { eps->OpenDevices(); },
        [&] { eps->ReadConfig(); },
        [&] { eps->OpenWs(Pick(2) == 1); },
        [&] {
          eps->SetViewStart(Pick(4000));
          eps->OverviewStale = true;
          eps->RefreshOverview();
        },
        [&] { Edit(); },
        [&] { eps->WriteWsParams(); },
        [&] { Download(); },
        [&] { Upload(); },
        [&] { eps->RenameInstrument(Pick(8), "SOAK " + std::to_string(Pick(100))); },
        [&] { eps->DeleteInstrument(3 + Pick(5)); },
        [&] { eps->DeleteWaveSample(Pick(8), 1 + Pick(4)); },
    };
    eps->Instrument = Pick(8);
    eps->Layer = Pick(2);
    eps->WaveSample = 1 + Pick(4);
    try {
      operations[static_cast<size_t>(Pick(static_cast<int>(operations.size())))]();
    } catch (const midi::PortError&) {
      // A session operation leaves a stuck port to the program's top-level error report.
      ++portErrors_;
    }
  }

  void Edit() {
    const int start = Pick(3000);
    const int end = start + Pick(3000);
    switch (Pick(6)) {
      case 0:
        eps->ClearData(start, end);
        break;
      case 1:
        eps->FadeIn(start, end, Pick(7));
        break;
      case 2:
        eps->FadeOut(start, end, Pick(7));
        break;
      case 3:
        eps->NormalizeGain();
        break;
      case 4:
        eps->ReverseData(start, end);
        break;
      default:
        eps->ScaleData(start, end, Pick(0x10000), Pick(0x10000), Pick(7));
        break;
    }
    eps->WaitResult();
  }

  void Download() {
    ImpatientUser user(clock);
    DownloadEngine engine(*eps, user);
    if (!engine.Begin() || eps->OpenWs(false) != 1) return;
    const TransferResult result = engine.Download(temp_ / "down.wav");
    if (result.outcome == TransferOutcome::Refused) return;
    EXPECT_NO_THROW(DownloadedSamples(temp_ / "down.wav"));
    EXPECT_EQ(eps->DownloadState, dsIdle);
  }

  void Upload() {
    ImpatientUser user(clock);
    UploadEngine engine(*eps, user);
    if (!engine.Begin()) return;
    TRiffFile file;
    file.SetFileName(temp_ / "up.wav");
    file.ReadHeader();
    UploadChoices choices;
    choices.instrument = 3 + Pick(5);
    choices.layer = Pick(2);
    choices.waveSample = 1 + Pick(4);
    engine.Upload(choices, file);
    EXPECT_EQ(eps->UploadState, usIdle);
  }

  int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }

  TempFolder temp_;
  std::mt19937 random_;
  int portErrors_ = 0;
};

TEST_F(Soak, RandomOperationsWithRandomFaultsKeepTheHeapFlat) {
  const uint32_t seed = Seed();
  std::cout << "soak seed " << seed << " (KELVORA_SOAK_SEED=" << seed << " repeats it)\n";
  random_.seed(seed);
  const auto began = std::chrono::steady_clock::now();
  int64_t afterWarmUp = 0;
  for (int op = 0; op < kOperations; ++op) {
    if (Pick(6) == 0) RandomFault();
    RandomOperation();
    Sampler().SetFaults(sim::FaultPlan{});
    Sampler().Log().Clear();
    if (::testing::Test::HasFailure()) {
      ADD_FAILURE() << "operation " << op << " of seed " << seed;
      return;
    }
    if (op + 1 == kWarmUp) afterWarmUp = HeapInUse();
  }
  Settle();
  const int64_t atEnd = HeapInUse();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  std::cout << "soak: " << kOperations << " operations in " << seconds << " s; heap in use "
            << afterWarmUp << " bytes after " << kWarmUp << " operations, " << atEnd
            << " bytes at the end; " << portErrors_ << " port errors\n";
  EXPECT_LT(atEnd - afterWarmUp, kGrowthBound);
  // The session still works once the faults stop.
  EXPECT_TRUE(eps->OpenDevices());
}

}  // namespace
}  // namespace kelvora::transfer::test
