// restore: instruments rebuilt from a backup folder, checked by backing them up again.
#include <gtest/gtest.h>

#include "batch/BackupFolder.h"
#include "batch/DataFetcher.h"
#include "batch/RestoreJob.h"
#include "batch/SamplerCommands.h"
#include "batch/batch_support.h"
#include "protocol/Records.h"
#include "protocol/Sysex.h"
#include "sim/FaultPlan.h"

namespace kelvora::batch::test {
namespace {

using namespace protocol;
using transfer::TransferOutcome;

class RestoreJobTest : public BatchFixture {
 protected:
  std::string First() const { return temp_ / "first"; }
  std::string Second() const { return temp_ / "second"; }
  // The data a wavesample plays, by its samples' hash: its own, or its source's for a copy.
  static std::string DataHash(const InstrumentImage& instrument, const WaveSampleImage& ws) {
    const WaveSampleImage* holder = ws.CopyOf() ? instrument.Find(ws.CopyOf()) : &ws;
    return holder && holder->data ? holder->data->samplesSha256 : "";
  }
  static void ExpectSameInstrument(const InstrumentImage& was, const InstrumentImage& is);

 private:
  TempFolder temp_;
};

// Words that place things in the sampler's memory differ between two sets of the same
// instruments; a copy comes back holding its data, so its link words are 0.
void RestoreJobTest::ExpectSameInstrument(const InstrumentImage& was, const InstrumentImage& is) {
  Record a = was.record;
  Record b = is.record;
  for (int n : {15, 25}) a[n] = b[n] = 0;
  for (int n = 29; n <= 317; ++n) a[n] = b[n] = 0;
  EXPECT_EQ(a, b);
  ASSERT_EQ(was.layers.size(), is.layers.size());
  for (size_t n = 0; n < was.layers.size(); ++n) {
    EXPECT_EQ(was.layers[n].record, is.layers[n].record) << "layer " << was.layers[n].index;
  }
  ASSERT_EQ(was.waveSamples.size(), is.waveSamples.size());
  for (size_t n = 0; n < was.waveSamples.size(); ++n) {
    const WaveSampleImage& before = was.waveSamples[n];
    const WaveSampleImage& after = is.waveSamples[n];
    SCOPED_TRACE(WaveSampleLabel(was, before));
    EXPECT_EQ(before.number, after.number);
    EXPECT_EQ(before.layer, after.layer);
    Record wanted = before.record;
    wanted[kWsCopySource] = wanted[13] = 0;
    EXPECT_EQ(wanted, after.record);
    EXPECT_EQ(DataHash(was, before), DataHash(is, after));
    EXPECT_FALSE(DataHash(is, after).empty());
  }
}

TEST_F(RestoreJobTest, EmptiedSamplerGetsEverythingBack) {
  ASSERT_TRUE(Backup(First()).Succeeded());
  EmptySampler();
  const JobResult restored = Restore(First());
  ASSERT_TRUE(restored.Succeeded()) << restored.message;
  EXPECT_EQ(restored.filesTransferred, 5);
  // The two general limits and the copy; the sampler took every word written.
  ASSERT_EQ(restored.limits.size(), 3u);
  EXPECT_NE(restored.limits[2].find("1/1/3 Sine Copy played the data"), std::string::npos);

  ASSERT_TRUE(Backup(Second()).Succeeded());
  bool complete = false;
  const Snapshot was = ReadBackup(First(), complete);
  const Snapshot is = ReadBackup(Second(), complete);
  ASSERT_EQ(was.instruments.size(), is.instruments.size());
  for (size_t n = 0; n < was.instruments.size(); ++n) {
    ExpectSameInstrument(was.instruments[n], is.instruments[n]);
  }
}

TEST_F(RestoreJobTest, OneInstrumentGoesToTheSlotNamed) {
  ASSERT_TRUE(Backup(First()).Succeeded());
  RestoreOptions options;
  options.instrument = 2;
  options.to = 5;
  const JobResult restored = Restore(First(), options);
  ASSERT_TRUE(restored.Succeeded()) << restored.message;
  EXPECT_EQ(SamplerData(5, 1), SamplerData(2, 1));
  EXPECT_EQ(SamplerData(5, 2), SamplerData(2, 2));
  EXPECT_EQ(SamplerRecord(5, 2), SamplerRecord(2, 2));
}

TEST_F(RestoreJobTest, TakenSlotSendsTheInstrumentToTheFirstFreeOne) {
  ASSERT_TRUE(Backup(First()).Succeeded());
  RestoreOptions options;
  options.instrument = 1;
  ASSERT_TRUE(Restore(First(), options).Succeeded());
  EXPECT_EQ(SamplerData(3, 1), SamplerData(1, 1));
}

// The sampler makes the lowest free wavesample with a new layer: here wavesample 1, which the
// backup does not have, so it is deleted again.
TEST_F(RestoreJobTest, WavesamplesKeepTheirNumbersAndLayers) {
  EmptySampler();
  AddInstrument(0, "GAPS");
  AddLayer(0, 0);
  AddLayer(0, 1);
  AddWaveSample(0, 1, 3, 600, 600);
  AddWaveSample(0, 0, 5, 300, 300);
  Sampler().WithMemory([](sim::SamplerMemory& memory) {
    memory.SetWsWord(0, 5, kWsLowKey, 21 << 8);
    memory.SetWsWord(0, 5, kWsHighKey, 60 << 8);  // both layers need keys to be told apart
    return 0;
  });
  ASSERT_TRUE(Backup(First()).Succeeded());
  EmptySampler();
  const JobResult restored = Restore(First());
  ASSERT_TRUE(restored.Succeeded()) << restored.message;
  Sampler().WithMemory([](sim::SamplerMemory& memory) {
    for (int w = 1; w <= 127; ++w) {
      const sim::WaveSampleSlot* slot = memory.WaveSample(0, w);
      EXPECT_EQ(slot != nullptr, w == 3 || w == 5) << w;
      if (slot) {
        EXPECT_EQ(slot->layer, w == 3 ? 1 : 0) << w;
      }
    }
    return 0;
  });
  EXPECT_EQ(SamplerData(0, 3).size(), 600u);
}

TEST_F(RestoreJobTest, PlansThatCannotWorkAreRefusedBeforeAnythingIsSent) {
  ASSERT_TRUE(Backup(First()).Succeeded());
  TakeCommands();
  RestoreOptions taken;
  taken.instrument = 0;
  taken.to = 2;
  const JobResult intoTaken = Restore(First(), taken);
  EXPECT_EQ(intoTaken.outcome, TransferOutcome::Refused);
  EXPECT_NE(intoTaken.message.find("Instrument 3 of the sampler is in use (Pad 2 Layers)"),
            std::string::npos)
      << intoTaken.message;
  RestoreOptions missing;
  missing.instrument = 6;
  EXPECT_EQ(Restore(First(), missing).outcome, TransferOutcome::Refused);
  RestoreOptions ambiguous;
  ambiguous.to = 7;
  EXPECT_EQ(Restore(First(), ambiguous).outcome, TransferOutcome::Refused);
  for (int i = 3; i < 8; ++i) AddInstrument(i, "FILLER");
  const JobResult full = Restore(First());
  EXPECT_EQ(full.outcome, TransferOutcome::Refused);
  EXPECT_NE(full.message.find("No instrument slot"), std::string::npos) << full.message;
  for (int type : TakeCommands()) {
    EXPECT_TRUE(type == kGetInstrumentParams || type == kResponse) << type;
  }

  Corrupt(BackupFolder(First()).Path(BackupFolder::WaveSampleDataPath(1, 1)));
  EmptySampler();
  const JobResult damaged = Restore(First());
  EXPECT_EQ(damaged.outcome, TransferOutcome::Refused);
  EXPECT_NE(damaged.message.find("2/1/1 Noise Hit is missing or damaged"), std::string::npos)
      << damaged.message;
}

// The plan is shown before anything is sent; declined, the sampler is left as it was.
TEST_F(RestoreJobTest, DeclinedPlanSendsNothing) {
  ASSERT_TRUE(Backup(First()).Succeeded());
  TakeCommands();
  std::vector<std::pair<int, int>> moves;
  std::string firstName;
  RecordingJobProgress progress;
  RestoreJob job(*eps, progress);
  job.SetConfirmation([&](const RestorePlan& plan, const Snapshot& backup) {
    for (const RestorePlan::Move& move : plan.Moves()) moves.emplace_back(move.from, move.to);
    firstName = backup.Find(0)->Name();
    return false;
  });
  const JobResult declined = job.Run(First());
  EXPECT_EQ(declined.outcome, TransferOutcome::Cancelled);
  EXPECT_TRUE(declined.message.empty());
  EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{0, 3}, {1, 4}, {2, 5}}));
  EXPECT_EQ(firstName, "Demo Synth");
  EXPECT_EQ(progress.files, -1);  // the job never started
  for (int type : TakeCommands()) {
    EXPECT_TRUE(type == kGetInstrumentParams || type == kResponse) << type;
  }
  EXPECT_FALSE(HasWaveSample(3, 1));
}

// The sampler asks for every block again after a pause; the blocks all land once.
TEST_F(RestoreJobTest, SlowDownAnswersLengthenTheDelayAndRepeatTheBlock) {
  ASSERT_TRUE(Backup(First()).Succeeded());
  const std::vector<int16_t> drums = SamplerData(1, 1);
  EmptySampler();
  sim::FaultPlan slow;
  slow.slowDownEveryBlock = true;
  Sampler().SetFaults(slow);
  eps->Delay = 0;
  RestoreOptions options;
  options.instrument = 1;
  ASSERT_TRUE(Restore(First(), options).Succeeded());
  EXPECT_GT(eps->Delay, 0);
  EXPECT_EQ(SamplerData(1, 1), drums);
}

TEST_F(RestoreJobTest, CancelSaysWhichInstrumentIsPartlyThere) {
  ASSERT_TRUE(Backup(First()).Succeeded());
  EmptySampler();
  RecordingJobProgress progress;
  progress.cancelAfterFiles = 1;
  const JobResult restored = Restore(First(), progress);
  EXPECT_EQ(restored.outcome, TransferOutcome::Cancelled);
  EXPECT_NE(restored.message.find("Instrument 1 is only partly restored"), std::string::npos)
      << restored.message;
  EXPECT_EQ(progress.finished, 1);

  // In the middle of a file: the next block is not sent.
  EmptySampler();
  RecordingJobProgress midway;
  midway.cancelAfterUpdates = 2;
  EXPECT_EQ(Restore(First(), midway).outcome, TransferOutcome::Cancelled);
  EXPECT_EQ(midway.failedFiles, 1);
  EXPECT_EQ(midway.updates, 2);
}

// For a sampler that takes the key range only this way; the protocol wants 2 s after each.
TEST_F(RestoreJobTest, KeyRangeGoesByPutParameterWithItsPauses) {
  SamplerCommands commands(*eps);
  const uint32_t before = midi::TickCount();
  commands.PutKeyRange(Target{0, 0, 2}, 30, 40);
  EXPECT_GE(midi::TickCount() - before, 4000u);
  const Record record = SamplerRecord(0, 2);
  EXPECT_EQ(record[kWsLowKey], 30 << 8);
  EXPECT_EQ(record[kWsHighKey], 40 << 8);
  EXPECT_EQ(eps->CurrentTarget().waveSample, 1);  // the session's target is put back
}

TEST_F(RestoreJobTest, FullMemoryStopsWithTheSlotToClearUp) {
  ASSERT_TRUE(Backup(First()).Succeeded());
  EmptySampler();
  Sampler().WithMemory([](sim::SamplerMemory& memory) {
    memory.AddInstrument(7, "BIG");
    memory.AddLayer(7, 0, "L");
    sim::WsRecord record{};
    const int64_t room = memory.CapacityWords() - memory.UsedWords() - 20000;
    return memory.AddWaveSample(7, 0, 1, record, sim::WaveData(static_cast<size_t>(room)));
  });
  const JobResult restored = Restore(First());
  EXPECT_EQ(restored.outcome, TransferOutcome::Failed);
  EXPECT_NE(restored.message.find("memory full"), std::string::npos) << restored.message;
  EXPECT_NE(restored.message.find("Instrument 1 is only partly restored"), std::string::npos)
      << restored.message;
}

}  // namespace
}  // namespace kelvora::batch::test
