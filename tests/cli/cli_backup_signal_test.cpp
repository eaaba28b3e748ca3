// A backup stopped by Ctrl+C or killed outright, then run again: only the rest is transferred.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>

#include "CliRunner.h"
#include "protocol/NameCodec.h"
#include "protocol/Records.h"
#include "sim/SamplerMemory.h"
#include "sim/SamplerStateFile.h"

namespace kelvora::cli::test {
namespace {

// A sampler whose third wavesample takes seconds on a paced cable while the first two take a
// fraction of one, so a signal sent after the second file lands in the third.
class CliBackupSignalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::SamplerMemory memory(sim::SamplerModel::Eps16Plus,
                              sim::DefaultMemoryWords(sim::SamplerModel::Eps16Plus));
    memory.AddInstrument(0, "SIGNALS");
    memory.AddLayer(0, 0, "ONE");
    for (const auto& [number, samples] : {std::pair{1, 300}, {2, 300}, {3, 8000}}) {
      sim::WsRecord record{};
      protocol::ResetWsParams(record.data());
      protocol::EncodeName(record.data(), "PART " + std::to_string(number));
      protocol::SetPosition(record.data(), protocol::kWsSampleEnd, samples);
      memory.AddWaveSample(
          0, 0, number, record,
          sim::WaveData(static_cast<size_t>(samples), static_cast<int16_t>(number)));
    }
    std::string error;
    ASSERT_TRUE(sim::SamplerStateFile::Save(memory, cli.Path("sampler.state").toStdString(), error))
        << error;
  }

  // Starts a paced backup and signals it once two files are done.
  CliResult StopAfterTwoFiles(int signal) {
    std::unique_ptr<QProcess> process =
        cli.Start(cli.Kept() + QStringList{"--sim-paced", "backup", "b"});
    std::string err;
    QDeadlineTimer deadline(30000);
    while (!deadline.hasExpired() && !Has(err, "1/1/2 Part 2: 300 samples")) {
      process->waitForReadyRead(100);
      err += process->readAllStandardError().toStdString();
    }
    ::kill(static_cast<pid_t>(process->processId()), signal);
    CliResult result = CliRunner::Finish(*process, 30000);
    result.err = err + result.err;
    return result;
  }

  bool PartFilesLeft() {
    QDirIterator it(cli.Path("b"), {"*.part"}, QDir::Files, QDirIterator::Subdirectories);
    return it.hasNext();
  }

  CliRunner cli;
};

TEST_F(CliBackupSignalTest, CtrlCThenAgainTransfersOnlyTheRest) {
  const CliResult stopped = StopAfterTwoFiles(SIGINT);
  EXPECT_EQ(stopped.exitCode, 130) << stopped.err;
  EXPECT_TRUE(Has(stopped.err, "1/1/3 Part 3: stopped after")) << stopped.err;
  EXPECT_TRUE(Has(stopped.err, "run it again to resume")) << stopped.err;
  EXPECT_FALSE(PartFilesLeft());
  const CliResult resumed = cli.Run(cli.Kept() + QStringList{"backup", "b"});
  ASSERT_EQ(resumed.exitCode, 0) << resumed.err;
  EXPECT_TRUE(Has(resumed.out, "1 wavesample (8000 samples) transferred, 2 already whole"))
      << resumed.out;
}

// A killed process leaves its temporary file; the next run removes it and fetches that file.
TEST_F(CliBackupSignalTest, KilledThenAgainTransfersOnlyTheRest) {
  const CliResult killed = StopAfterTwoFiles(SIGKILL);
  EXPECT_EQ(killed.exitCode, -1);
  EXPECT_TRUE(PartFilesLeft());
  const CliResult resumed = cli.Run(cli.Kept() + QStringList{"backup", "b"});
  ASSERT_EQ(resumed.exitCode, 0) << resumed.err;
  EXPECT_TRUE(Has(resumed.out, "1 wavesample (8000 samples) transferred, 2 already whole"))
      << resumed.out;
  EXPECT_FALSE(PartFilesLeft());
}

}  // namespace
}  // namespace kelvora::cli::test
