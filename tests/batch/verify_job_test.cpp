// backup --verify: every file against its SHA-256 and everything the sampler holds read again,
// with each difference named.
#include <gtest/gtest.h>

#include "batch/BackupFolder.h"
#include "batch/batch_support.h"
#include "protocol/Records.h"

namespace kelvora::batch::test {
namespace {

using transfer::TransferOutcome;

class VerifyJobTest : public BatchFixture {
 protected:
  void SetUp() override {
    BatchFixture::SetUp();
    ASSERT_TRUE(Backup(Root()).Succeeded());
    TakeFetched();
  }
  std::string Root() const { return temp_ / "b"; }
  // The problems a verify finds, joined for matching.
  std::string Problems(JobResult& result) {
    RecordingJobProgress progress;
    result = Verify(Root(), progress);
    std::string all;
    for (const std::string& problem : result.problems) all += problem + "\n";
    return all;
  }

 private:
  TempFolder temp_;
};

TEST_F(VerifyJobTest, FreshBackupMatchesAfterReadingEverythingAgain) {
  JobResult result;
  EXPECT_EQ(Problems(result), "");
  EXPECT_TRUE(result.Succeeded()) << result.message;
  EXPECT_EQ(result.filesTransferred, 5);
  EXPECT_EQ(TakeFetched().size(), 5u);
  EXPECT_EQ(BackupFolder(Root()).Examine(), BackupFolder::State::Backup);  // nothing written
}

TEST_F(VerifyJobTest, DamagedFileIsFoundAndTheNextBackupFetchesIt) {
  const BackupFolder folder(Root());
  Corrupt(folder.Path(BackupFolder::WaveSampleDataPath(2, 2)));
  Corrupt(folder.Path(BackupFolder::WaveSampleRecordPath(0, 3)));
  JobResult result;
  const std::string problems = Problems(result);
  EXPECT_NE(problems.find("instrument-3/ws-002.wav' is missing or damaged"), std::string::npos)
      << problems;
  EXPECT_NE(problems.find("instrument-1/ws-003.words' is missing or damaged"), std::string::npos)
      << problems;
  EXPECT_EQ(result.problems.size(), 2u) << problems;
  EXPECT_FALSE(result.Succeeded());

  TakeFetched();
  const JobResult repaired = Backup(Root());
  EXPECT_EQ(repaired.filesTransferred, 1);
  EXPECT_EQ(TakeFetched(), (std::vector<std::pair<int, int>>{{2, 2}}));
  EXPECT_EQ(Problems(result), "");
}

TEST_F(VerifyJobTest, ChangesOnTheSamplerAreNamed) {
  Sampler().WithMemory([](sim::SamplerMemory& memory) {
    (*memory.EditableData(1, 1))[100] ^= 0x100;
    memory.SetWsWord(0, 2, protocol::kWsRootKey, 50 << 8);
    memory.RemoveWaveSample(2, 2);
    memory.AddInstrument(6, "NEW ONE");
    return 0;
  });
  JobResult result;
  const std::string problems = Problems(result);
  EXPECT_NE(problems.find("2/1/1 Noise Hit: the samples differ"),
            std::string::npos)
      << problems;
  EXPECT_NE(problems.find("1/1/2 Decay Saw: the record differs from the "
                          "sampler's in words 80."),
            std::string::npos)
      << problems;
  EXPECT_NE(problems.find("instrument 3, wavesample 2 is in the backup but not in the sampler"),
            std::string::npos)
      << problems;
  EXPECT_NE(problems.find("instrument 7 (New One) is not in the backup"), std::string::npos)
      << problems;
}

TEST_F(VerifyJobTest, FolderWithoutBackupIsRefused) {
  RecordingJobProgress progress;
  TempFolder other;
  EXPECT_EQ(Verify(other / "none", progress).outcome, TransferOutcome::Refused);
}

}  // namespace
}  // namespace kelvora::batch::test
