// A whole-sampler backup of the demo sampler: what lands in the folder, and what the folder
// must be before the job writes into it.
#include <gtest/gtest.h>

#include <filesystem>

#include "batch/BackupFolder.h"
#include "batch/DataFetcher.h"
#include "batch/batch_support.h"
#include "protocol/Records.h"
#include "protocol/Sysex.h"
#include "sim/FaultPlan.h"

namespace kelvora::batch::test {
namespace {

using protocol::GetPosition;
using protocol::kWsSampleEnd;
using transfer::TransferOutcome;

class BackupJobTest : public BatchFixture {};

TEST_F(BackupJobTest, DemoSamplerLandsWholeWithCopiesAsLinks) {
  TempFolder temp;
  const std::string root = temp / "backup";
  RecordingJobProgress progress;
  const JobResult result = Backup(root, progress);
  ASSERT_TRUE(result.Succeeded()) << result.message;
  EXPECT_EQ(result.filesTransferred, 5);
  EXPECT_EQ(progress.files, 5);
  // Data is asked for once per wavesample that holds it; the copy (1/3) is not fetched.
  const std::vector<std::pair<int, int>> gets = TakeFetched();
  EXPECT_EQ(std::count(gets.begin(), gets.end(), std::pair{0, 3}), 0);

  bool complete = false;
  const Snapshot backup = ReadBackup(root, complete);
  EXPECT_TRUE(complete);
  ASSERT_EQ(backup.instruments.size(), 3u);
  EXPECT_EQ(backup.instruments[2].Name(), "Pad 2 Layers");
  ASSERT_EQ(backup.instruments[2].layers.size(), 2u);
  EXPECT_EQ(backup.instruments[2].Find(2)->layer, 1);
  const WaveSampleImage* copy = backup.instruments[0].Find(3);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->CopyOf(), 1);
  EXPECT_FALSE(copy->data.has_value());

  const BackupFolder folder(root);
  for (const InstrumentImage& instrument : backup.instruments) {
    for (const WaveSampleImage& ws : instrument.waveSamples) {
      SCOPED_TRACE(WaveSampleLabel(instrument, ws));
      EXPECT_EQ(ws.record, SamplerRecord(instrument.index, ws.number));
      if (ws.CopyOf() != 0) continue;
      ASSERT_TRUE(ws.data.has_value());
      EXPECT_TRUE(folder.Matches(ws.data->file));
      const std::vector<int16_t> held = SamplerData(instrument.index, ws.number);
      EXPECT_EQ(ws.data->samples, GetPosition(ws.record.data(), kWsSampleEnd));
      EXPECT_EQ(BackupSamples(folder.Path(ws.data->file.path)), held);
    }
  }
}

// The copy plays the holder's data up to its own sample end, so the holder's file runs that far.
TEST_F(BackupJobTest, HolderDataReachesTheFurthestEndOfItsCopies) {
  Sampler().WithMemory([](sim::SamplerMemory& memory) {
    sim::WsRecord record = memory.WaveSample(0, 3)->record;
    protocol::SetPosition(record.data(), protocol::kWsSampleEnd, 4000);
    memory.PutWsRecord(0, 3, record.data());
    record = memory.WaveSample(0, 1)->record;
    protocol::SetPosition(record.data(), protocol::kWsSampleEnd, 1000);
    memory.PutWsRecord(0, 1, record.data());
    return 0;
  });
  TempFolder temp;
  ASSERT_TRUE(Backup(temp / "b").Succeeded());
  bool complete = false;
  const Snapshot backup = ReadBackup(temp / "b", complete);
  EXPECT_EQ(backup.instruments[0].Find(1)->data->samples, 4000);
}

// Each wavesample is asked for in every layer before it is given up; the others still come.
TEST_F(BackupJobTest, RecordTheSamplerRefusesIsNamedAndLeftOut) {
  sim::FaultPlan refuse;
  refuse.forcedStatus[protocol::kGetWsParams] = 8;
  Sampler().SetFaults(refuse);
  TempFolder temp;
  const JobResult result = Backup(temp / "b");
  EXPECT_EQ(result.outcome, TransferOutcome::Done);
  ASSERT_EQ(result.problems.size(), 6u);
  EXPECT_EQ(result.problems[4],
            "The sampler refused to send the record of wavesample 1 of instrument 3 (invalid "
            "wavesample). It is not in the backup.");
  bool complete = true;
  const Snapshot backup = ReadBackup(temp / "b", complete);
  EXPECT_FALSE(complete);
  EXPECT_EQ(backup.instruments.size(), 3u);
  EXPECT_TRUE(TakeFetched().empty());
}

TEST_F(BackupJobTest, RefusesFoldersItMustNotWriteInto) {
  TempFolder temp;
  transfer::test::Save(temp / "file", {1, 2, 3});
  EXPECT_EQ(Backup(temp / "file").outcome, TransferOutcome::Refused);
  std::filesystem::create_directories(temp / "other");
  transfer::test::Save(temp / "other/notes.txt", {'x'});
  const JobResult foreign = Backup(temp / "other");
  EXPECT_EQ(foreign.outcome, TransferOutcome::Refused);
  EXPECT_NE(foreign.message.find("other files"), std::string::npos) << foreign.message;
  EXPECT_FALSE(foreign.replaceable);  // files that are no backup are never replaced
  // Nothing was asked of the sampler for a folder that is refused.
  EXPECT_TRUE(TakeFetched().empty());
}

TEST_F(BackupJobTest, EmptySamplerGivesAnEmptyCompleteBackup) {
  EmptySampler();
  TempFolder temp;
  const JobResult result = Backup(temp / "empty");
  ASSERT_TRUE(result.Succeeded()) << result.message;
  bool complete = false;
  EXPECT_TRUE(ReadBackup(temp / "empty", complete).instruments.empty());
  EXPECT_TRUE(complete);
}

}  // namespace
}  // namespace kelvora::batch::test
