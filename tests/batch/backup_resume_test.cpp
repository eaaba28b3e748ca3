// A backup that resumes: after an interruption only what is missing or damaged crosses the
// cable again.
#include <gtest/gtest.h>

#include <filesystem>

#include "batch/BackupFolder.h"
#include "batch/batch_support.h"
#include "sim/FaultPlan.h"

namespace kelvora::batch::test {
namespace {

using transfer::TransferOutcome;
using Requests = std::vector<std::pair<int, int>>;

class BackupResumeTest : public BatchFixture {
 protected:
  // A stalled sampler is given up on after this much (virtual) time in these tests.
  static constexpr uint32_t kShortStallMs = 200;

  static BackupOptions Replacing() {
    BackupOptions options;
    options.replace = true;
    return options;
  }

  bool NoPartFiles(const std::string& root) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
      if (entry.path().extension() == ".part") return false;
    }
    return true;
  }
};

TEST_F(BackupResumeTest, SecondRunOfAWholeBackupTransfersNothing) {
  TempFolder temp;
  ASSERT_TRUE(Backup(temp / "b").Succeeded());
  TakeFetched();
  RecordingJobProgress progress;
  const JobResult again = Backup(temp / "b", progress);
  ASSERT_TRUE(again.Succeeded()) << again.message;
  EXPECT_EQ(again.filesTransferred, 0);
  EXPECT_EQ(again.filesKept, 5);
  EXPECT_EQ(progress.files, 0);
  EXPECT_TRUE(TakeFetched().empty());
}

// The sampler falls silent after the second file, as with a pulled cable.
TEST_F(BackupResumeTest, SilencedSamplerAfterTwoFilesResumesWithTheRest) {
  TempFolder temp;
  RecordingJobProgress progress;
  progress.onFileFinished = [&](int finished) {
    if (finished != 2) return;
    sim::FaultPlan silent;
    silent.silentMessages = 1000000;
    Sampler().SetFaults(silent);
  };
  BackupOptions options;
  options.stallLimitMs = kShortStallMs;
  const JobResult first = Backup(temp / "b", progress, options);
  EXPECT_EQ(first.outcome, TransferOutcome::Failed);
  EXPECT_NE(first.message.find("stopped answering"), std::string::npos) << first.message;
  EXPECT_EQ(first.filesTransferred, 2);
  EXPECT_TRUE(NoPartFiles(temp / "b"));
  bool complete = true;
  ReadBackup(temp / "b", complete);
  EXPECT_FALSE(complete);

  Sampler().SetFaults({});
  TakeFetched();
  const JobResult second = Backup(temp / "b");
  ASSERT_TRUE(second.Succeeded()) << second.message;
  EXPECT_EQ(second.filesKept, 2);
  EXPECT_EQ(second.filesTransferred, 3);
  const Requests gets = TakeFetched();
  for (const auto& done : {std::pair{0, 1}, std::pair{0, 2}}) {
    EXPECT_EQ(std::count(gets.begin(), gets.end(), done), 0);
  }
  ReadBackup(temp / "b", complete);
  EXPECT_TRUE(complete);
}

TEST_F(BackupResumeTest, RunStoppedBeforeItsFirstFileIsResumed) {
  TempFolder temp;
  RecordingJobProgress progress;
  progress.cancelAfterFiles = 0;
  EXPECT_EQ(Backup(temp / "b", progress).outcome, TransferOutcome::Cancelled);
  EXPECT_EQ(BackupFolder(temp / "b").Examine(), BackupFolder::State::Backup);
  const JobResult resumed = Backup(temp / "b");
  ASSERT_TRUE(resumed.Succeeded()) << resumed.message;
  EXPECT_EQ(resumed.filesTransferred, 5);

  // A sampler silent from the start: the folder is marked as a backup before anything is read.
  sim::FaultPlan silent;
  silent.silentMessages = 1000000;
  Sampler().SetFaults(silent);
  const JobResult unanswered = Backup(temp / "c");
  EXPECT_EQ(unanswered.outcome, TransferOutcome::Failed);
  EXPECT_NE(unanswered.message.find("did not answer"), std::string::npos) << unanswered.message;
  EXPECT_EQ(BackupFolder(temp / "c").Examine(), BackupFolder::State::Backup);
}

TEST_F(BackupResumeTest, CancelLeavesNoPartialFileAndResumes) {
  TempFolder temp;
  RecordingJobProgress progress;
  progress.cancelAfterFiles = 1;
  const JobResult first = Backup(temp / "b", progress);
  EXPECT_EQ(first.outcome, TransferOutcome::Cancelled);
  EXPECT_EQ(first.filesTransferred, 1);
  EXPECT_TRUE(NoPartFiles(temp / "b"));
  const JobResult second = Backup(temp / "b");
  ASSERT_TRUE(second.Succeeded()) << second.message;
  EXPECT_EQ(second.filesKept, 1);
  EXPECT_EQ(second.filesTransferred, 4);
}

TEST_F(BackupResumeTest, DamagedOrChangedDataIsFetchedAgain) {
  TempFolder temp;
  ASSERT_TRUE(Backup(temp / "b").Succeeded());
  Corrupt(BackupFolder(temp / "b").Path(BackupFolder::WaveSampleDataPath(1, 1)));
  // A changed record on the sampler (a new root key) makes its data suspect too.
  Sampler().WithMemory([](sim::SamplerMemory& memory) {
    memory.SetWsWord(2, 2, protocol::kWsRootKey, 70 << 8);
    return 0;
  });
  // A partial file of an interrupted run is never taken for a whole one.
  transfer::test::Save(temp / "b/instrument-1/ws-002.wav.part", {1, 2});
  TakeFetched();
  const JobResult again = Backup(temp / "b");
  ASSERT_TRUE(again.Succeeded()) << again.message;
  EXPECT_EQ(again.filesTransferred, 2);
  EXPECT_EQ(TakeFetched().size(), 2u);
  EXPECT_TRUE(NoPartFiles(temp / "b"));
}

TEST_F(BackupResumeTest, BackupOfOtherContentIsReplacedOnlyWhenAsked) {
  TempFolder temp;
  ASSERT_TRUE(Backup(temp / "b").Succeeded());
  eps->DeleteInstrument(1);
  const JobResult refused = Backup(temp / "b");
  EXPECT_EQ(refused.outcome, TransferOutcome::Refused);
  EXPECT_NE(refused.message.find("instrument 2 (Drums)"), std::string::npos) << refused.message;
  EXPECT_TRUE(refused.replaceable);
  EXPECT_TRUE(std::filesystem::exists(temp / "b/instrument-2/ws-001.wav"));

  RecordingJobProgress progress;
  const JobResult replaced = Backup(temp / "b", progress, Replacing());
  ASSERT_TRUE(replaced.Succeeded()) << replaced.message;
  EXPECT_FALSE(std::filesystem::exists(temp / "b/instrument-2/ws-001.wav"));
}

TEST_F(BackupResumeTest, UnreadableManifestIsNotTrusted) {
  TempFolder temp;
  ASSERT_TRUE(Backup(temp / "b").Succeeded());
  transfer::test::Save(temp / "b/manifest.json", {'{', 'x'});
  const JobResult refused = Backup(temp / "b");
  EXPECT_EQ(refused.outcome, TransferOutcome::Refused);
  EXPECT_TRUE(refused.replaceable);
  TakeFetched();
  RecordingJobProgress progress;
  ASSERT_TRUE(Backup(temp / "b", progress, Replacing()).Succeeded());
  EXPECT_EQ(TakeFetched().size(), 5u);
}

}  // namespace
}  // namespace kelvora::batch::test
