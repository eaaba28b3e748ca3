#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>
#include <algorithm>
#include <csignal>

#include "CliRunner.h"

namespace kelvora::cli::test {
namespace {

// The simulated sampler kept in a state file between the runs of a test.
class CliCommandsTest : public ::testing::Test {
 protected:
  CliResult Run(const QStringList& arguments) { return cli.Run(cli.Kept() + arguments); }
  // The wavesample's samples as a fresh download gives them.
  std::vector<int16_t> Fetch(const QString& slot) {
    const QString path = cli.Path("fetched.wav");
    const CliResult result = Run({"download", slot, "-o", path, "--force"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return WavSamplesOf(path);
  }
  QJsonObject Listing() { return JsonOf(Run({"--json", "ls"})); }

  CliRunner cli;
};

TEST_F(CliCommandsTest, DownloadNamesFilesAfterTheSamplerAndReplacesNoneWithoutForce) {
  const CliResult one = Run({"download", "1/1/2"});
  ASSERT_EQ(one.exitCode, 0) << one.err;
  EXPECT_TRUE(Has(one.out, "1/1/2 Decay Saw -> ./Decay Saw.wav")) << one.out;
  const std::vector<int16_t> saw = WavSamplesOf(cli.Path("Decay Saw.wav"));
  EXPECT_EQ(saw.size(), 22050u);

  const CliResult again = Run({"download", "1/1/2"});
  EXPECT_EQ(again.exitCode, 4);
  EXPECT_TRUE(Has(again.err, "'./Decay Saw.wav' exists; --force replaces it.")) << again.err;
  EXPECT_EQ(Run({"download", "1/1/2", "--force"}).exitCode, 0);

  const CliResult all = Run({"--json", "download", "all", "-o", "everything"});
  ASSERT_EQ(all.exitCode, 0) << all.err;
  const QStringList files = QDir(cli.Path("everything")).entryList(QDir::Files, QDir::Name);
  EXPECT_EQ(files,
            QStringList({"1-1-1 Sine.wav", "1-1-2 Decay Saw.wav", "1-1-3 Sine Copy.wav",
                         "2-1-1 Noise Hit.wav", "3-1-1 Warm Pad.wav", "3-2-2 Pad Sine.wav"}));
  const QJsonArray reported = JsonOf(all)["files"].toArray();
  ASSERT_EQ(reported.size(), 6);
  for (const QJsonValue file : reported) EXPECT_TRUE(file["done"].toBool());
  EXPECT_EQ(WavSamplesOf(cli.Path("everything/1-1-2 Decay Saw.wav")), saw);
  EXPECT_EQ(WavSamplesOf(cli.Path("everything/1-1-3 Sine Copy.wav")),
            WavSamplesOf(cli.Path("everything/1-1-1 Sine.wav")))
      << "a copy plays its source's data";
  EXPECT_EQ(Run({"download", "7"}).exitCode, 1);
}

TEST_F(CliCommandsTest, RenameAndDeleteChangeWhatTheNextListingShows) {
  EXPECT_EQ(Run({"rename", "2", "Big Drums"}).exitCode, 0);
  EXPECT_EQ(Run({"rename", "2/1", "kit b"}).exitCode, 0);
  const CliResult ws = Run({"rename", "2/1/1", "Snare.01_long name"});
  ASSERT_EQ(ws.exitCode, 0) << ws.err;
  EXPECT_TRUE(Has(ws.out, "Wavesample 2/1/1 is now named 'Snare 01 Lon'.")) << ws.out;
  QJsonObject drums = Listing()["instruments"][1].toObject();
  EXPECT_EQ(drums["name"].toString(), "Big Drums");
  EXPECT_EQ(drums["layers"][0]["name"].toString(), "Kit B");
  EXPECT_EQ(drums["layers"][0]["waveSamples"][0]["name"].toString(), "Snare 01 Lon");

  EXPECT_EQ(Run({"delete", "1/1/2"}).exitCode, 0);
  EXPECT_EQ(Run({"delete", "3/2"}).exitCode, 0);
  EXPECT_EQ(Run({"delete", "2"}).exitCode, 0);
  const QJsonArray left = Listing()["instruments"].toArray();
  ASSERT_EQ(left.size(), 2);
  EXPECT_EQ(left[0]["layers"][0]["waveSamples"].toArray().size(), 2);
  EXPECT_EQ(left[1]["layers"].toArray().size(), 1);
  const CliResult gone = Run({"delete", "2"});
  EXPECT_EQ(gone.exitCode, 1);
  EXPECT_TRUE(Has(gone.err,
                  "The instrument 2 was not deleted: the sampler holds no such "
                  "instrument."))
      << gone.err;
  EXPECT_EQ(Run({"rename", "2", "x"}).exitCode, 1);
}

TEST_F(CliCommandsTest, TheSamplerEditsARangeOfItsOwnDataAndNothingElse) {
  const std::vector<int16_t> saw = Fetch("1/1/2");
  ASSERT_EQ(saw.size(), 22050u);
  ASSERT_EQ(Run({"clear", "1/1/2", "--range", "100-200"}).exitCode, 0);
  std::vector<int16_t> expected = saw;
  std::fill(expected.begin() + 100, expected.begin() + 200, 0);
  EXPECT_EQ(Fetch("1/1/2"), expected);

  ASSERT_EQ(Run({"reverse", "1/1/2"}).exitCode, 0);
  std::reverse(expected.begin(), expected.end());
  EXPECT_EQ(Fetch("1/1/2"), expected);

  ASSERT_EQ(Run({"normalize", "1/1/2"}).exitCode, 0);
  const std::vector<int16_t> loud = Fetch("1/1/2");
  const auto peak = [](const std::vector<int16_t>& s) {
    int most = 0;
    for (const int16_t v : s) most = std::max(most, std::abs(int{v}));
    return most;
  };
  EXPECT_GT(peak(loud), peak(expected));
  EXPECT_GE(peak(loud), 32000);

  ASSERT_EQ(Run({"fade-out", "1/1/2", "--range", "0-22050", "--depth", "6"}).exitCode, 0);
  const std::vector<int16_t> faded = Fetch("1/1/2");
  EXPECT_LT(peak({faded.end() - 2000, faded.end()}), peak({loud.end() - 2000, loud.end()}));
  EXPECT_EQ(Run({"fade-in", "1/1/2", "--range", "0-1000"}).exitCode, 0);
}

TEST_F(CliCommandsTest, EditsThatCannotBeDoneAreRefusedBeforeAnythingIsSent) {
  const struct {
    QStringList arguments;
    int exitCode;
    std::string says;
  } cases[] = {
      {{"normalize", "1/1/3"}, 4, "1/1/3 Sine Copy is a parameters-only copy of wavesample 1"},
      {{"clear", "1/1/2", "--range", "0-30000"},
       4,
       "The range 0-30000 does not lie within 1/1/2 Decay Saw, whose samples end at 22050."},
      {{"clear", "1/1/2", "--range", "500-500"}, 4, "does not lie within"},
      {{"clear", "1/1/2", "--range", "a-b"}, 2, "'a-b' is no range"},
      {{"reverse", "1/1"}, 2, "'1/1' names no wavesample"},
      {{"reverse", "1/2/1"}, 1, "is in layer 1, not in layer 2"},
      {{"fade-in", "1/1/2", "--depth", "7"}, 2, "--depth"},
      {{"reverse", "1/1/9"}, 1, "The sampler holds no wavesample 1/1/9."},
  };
  for (const auto& c : cases) {
    const CliResult result = Run(c.arguments);
    EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments.join(' ').toStdString();
    EXPECT_TRUE(Has(result.err, c.says)) << result.err;
  }
}

TEST_F(CliCommandsTest, CtrlCStopsADownloadCleanlyWithNoFileThatLooksWhole) {
  std::unique_ptr<QProcess> process =
      cli.Start(cli.Kept() + QStringList{"--sim-paced", "download", "3/1/1"});
  ASSERT_TRUE(process->waitForStarted());
  QThread::msleep(1500);  // the probe and the records take well under a second on the cable
  ::kill(static_cast<pid_t>(process->processId()), SIGINT);
  const CliResult result = CliRunner::Finish(*process, 20000);
  EXPECT_EQ(result.exitCode, 130) << result.err;
  EXPECT_FALSE(QFile::exists(cli.Path("Warm Pad.wav")));
  EXPECT_FALSE(QFile::exists(cli.Path("Warm Pad.wav.part")));
  EXPECT_TRUE(Has(result.err, "3/1/1 Warm Pad: stopped after ")) << result.err;
  EXPECT_EQ(Run({"probe"}).exitCode, 0) << "the sampler is left in step and its state saved";
}

}  // namespace
}  // namespace kelvora::cli::test
