#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>
#include <csignal>
#include <cstdio>

#include "CliRunner.h"
#include "transfer/WavWriter.h"

namespace kelvora::cli::test {
namespace {

// A mono 16-bit file of `count` samples of a ramp that starts at `first`.
void WriteRamp(const QString& path, int count, int first, int rate = 44100) {
  std::FILE* file = std::fopen(path.toLocal8Bit().constData(), "wb");
  ASSERT_NE(file, nullptr);
  bool ok = transfer::WriteWavHeader(file, rate, static_cast<uint32_t>(count));
  for (int i = 0; i < count; ++i) ok = ok && transfer::WriteLe16(file, uint16_t(first + 7 * i));
  ASSERT_EQ(std::fclose(file), 0);
  ASSERT_TRUE(ok);
}

// A stereo 16-bit file whose left channel is `left` and right channel its negation.
void WriteStereo(const QString& path, const std::vector<int16_t>& left) {
  QByteArray bytes;
  const auto le = [&](uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.append(char((value >> (8 * i)) & 0xFF));
  };
  const uint32_t data = static_cast<uint32_t>(left.size()) * 4;
  bytes.append("RIFF");
  le(36 + data, 4);
  bytes.append("WAVEfmt ");
  for (const auto& [value, size] : std::vector<std::pair<uint32_t, int>>{
           {16, 4}, {1, 2}, {2, 2}, {44100, 4}, {44100 * 4, 4}, {4, 2}, {16, 2}}) {
    le(value, size);
  }
  bytes.append("data");
  le(data, 4);
  for (const int16_t sample : left) {
    le(uint16_t(sample), 2);
    le(uint16_t(-sample), 2);
  }
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

std::vector<int16_t> Ramp(int count, int first) {
  std::vector<int16_t> samples;
  for (int i = 0; i < count; ++i) samples.push_back(static_cast<int16_t>(first + 7 * i));
  return samples;
}

class CliUploadTest : public ::testing::Test {
 protected:
  CliResult Run(const QStringList& arguments) { return cli.Run(cli.Kept() + arguments); }
  QJsonObject Instrument(const QString& slot) {
    return JsonOf(Run({"--json", "ls", slot}))["instruments"][0].toObject();
  }

  CliRunner cli;
};

TEST_F(CliUploadTest, AMultisampleOfFiveFilesNamedByNoteLandsWithItsRootsAndSplitRanges) {
  const QStringList names = {"Piano_G4.wav", "Piano_C2.wav", "Piano_C4.wav", "Piano_A-1.wav",
                             "Piano_C#4.wav"};
  for (int i = 0; i < names.size(); ++i) WriteRamp(cli.Path(names[i]), 600, 100 * i);
  const CliResult upload = Run({"upload", "Piano_G4.wav", "Piano_C2.wav", "Piano_C4.wav",
                                "Piano_A-1.wav", "Piano_C#4.wav", "--to", "4", "--name", "grand"});
  ASSERT_EQ(upload.exitCode, 0) << upload.err;
  EXPECT_TRUE(Has(upload.out, "Plan: 5 files into a new instrument 4:")) << upload.out;
  EXPECT_LT(upload.out.find("Plan:"), upload.out.find("4/1/1 <- Piano_A-1.wav"))
      << "the plan comes before anything is sent";

  const QJsonObject instrument = Instrument("4");
  EXPECT_EQ(instrument["name"].toString(), "Grand");
  const QJsonArray waveSamples = instrument["layers"][0]["waveSamples"].toArray();
  ASSERT_EQ(waveSamples.size(), 5);
  const struct {
    const char* name;
    int root, low, high;
  } expected[] = {{"Piano A-1", 9, 9, 22},
                  {"Piano C2", 36, 23, 48},
                  {"Piano C4", 60, 49, 60},
                  {"Piano C 4", 61, 61, 64},
                  {"Piano G4", 67, 65, 108}};
  for (int i = 0; i < 5; ++i) {
    const QJsonObject ws = waveSamples[i].toObject();
    EXPECT_EQ(ws["slot"].toString(), QString("4/1/%1").arg(i + 1));
    EXPECT_EQ(ws["name"].toString(), expected[i].name) << "named after its file";
    EXPECT_EQ(ws["rootKey"]["number"].toInt(), expected[i].root) << expected[i].name;
    EXPECT_EQ(ws["lowKey"]["number"].toInt(), expected[i].low) << expected[i].name;
    EXPECT_EQ(ws["highKey"]["number"].toInt(), expected[i].high) << expected[i].name;
    EXPECT_EQ(ws["length"].toInt(), 600);
  }
  ASSERT_EQ(Run({"download", "4/1/2", "-o", "c2.wav"}).exitCode, 0);
  EXPECT_EQ(WavSamplesOf(cli.Path("c2.wav")), Ramp(600, 100)) << "Piano_C2.wav, samples intact";
}

TEST_F(CliUploadTest, AFileGoesIntoFreeOrNamedSlotsAndJsonHoldsThePlanAndTheResults) {
  WriteRamp(cli.Path("one.wav"), 300, 5, 22050);
  const CliResult free = Run({"--json", "upload", "one.wav", "--to", "1", "--root", "C3"});
  ASSERT_EQ(free.exitCode, 0) << free.err;
  const QJsonObject json = JsonOf(free);
  const QJsonObject planned = json["plan"]["files"][0].toObject();
  EXPECT_EQ(planned["slot"].toString(), "1/1/4") << "the first free wavesample of instrument 1";
  EXPECT_EQ(planned["rootKey"]["number"].toInt(), 48);
  EXPECT_EQ(planned["rootFrom"].toString(), "given");
  EXPECT_EQ(planned["rate"].toInt(), 22321) << "22050 Hz goes in at the rate the sampler plays";
  EXPECT_GT(planned["wireSeconds"].toDouble(), 0);
  EXPECT_GT(planned["memoryBlocks"].toInt(), 0);
  EXPECT_TRUE(json["uploads"][0]["done"].toBool());
  EXPECT_EQ(Instrument("1")["layers"][0]["waveSamples"][3]["rate"].toInt(), 22321);

  const CliResult named = Run({"upload", "one.wav", "--to", "1/1/2", "--rate", "unchanged"});
  ASSERT_EQ(named.exitCode, 0) << named.err;
  EXPECT_TRUE(Has(named.out, "(replaces the wavesample there)")) << named.out;
  ASSERT_EQ(Run({"download", "1/1/2", "-o", "back.wav"}).exitCode, 0);
  EXPECT_EQ(WavSamplesOf(cli.Path("back.wav")), Ramp(300, 5)) << "unchanged: the file's words";
}

TEST_F(CliUploadTest, TheChannelChosenOfAStereoFileIsTheOneThatGoesIn) {
  const std::vector<int16_t> left = Ramp(400, 1000);
  std::vector<int16_t> right;
  for (const int16_t sample : left) right.push_back(static_cast<int16_t>(-sample));
  WriteStereo(cli.Path("stereo.wav"), left);
  const struct {
    const char* channel;
    std::vector<int16_t> expected;
  } cases[] = {{"left", left}, {"right", right}, {"2", right}, {"mono", std::vector<int16_t>(400)}};
  for (const auto& c : cases) {
    const CliResult upload = Run({"upload", "stereo.wav", "--to", "1/1/2", "--channel", c.channel});
    ASSERT_EQ(upload.exitCode, 0) << c.channel << ": " << upload.err;
    ASSERT_EQ(Run({"download", "1/1/2", "-o", "back.wav", "--force"}).exitCode, 0);
    EXPECT_EQ(WavSamplesOf(cli.Path("back.wav")), c.expected) << c.channel;
  }
  const CliResult third = Run({"upload", "stereo.wav", "--to", "1/1/2", "--channel", "3"});
  EXPECT_EQ(third.exitCode, 4) << "a channel the file does not have";
  EXPECT_TRUE(Has(third.err, "stereo.wav")) << third.err;
}

TEST_F(CliUploadTest, CtrlCStopsAnUploadAndLeavesTheSamplerInStep) {
  WriteRamp(cli.Path("long.wav"), 44100, 0);
  std::unique_ptr<QProcess> process =
      cli.Start(cli.Kept() + QStringList{"--sim-paced", "upload", "long.wav", "--to", "1/1/2"});
  ASSERT_TRUE(process->waitForStarted());
  QThread::msleep(1500);  // well into the 42 s the samples take on the cable
  ::kill(static_cast<pid_t>(process->processId()), SIGINT);
  const CliResult result = CliRunner::Finish(*process, 30000);
  EXPECT_EQ(result.exitCode, 130) << result.err;
  EXPECT_TRUE(Has(result.err, "1/1/2 long.wav: stopped after ")) << result.err;
  EXPECT_TRUE(Has(result.err, " of the 44100 samples of 'long.wav'; upload it again."))
      << result.err;
  EXPECT_EQ(Run({"probe"}).exitCode, 0) << "the sampler answers the next command in step";
  EXPECT_EQ(Run({"ls", "1"}).exitCode, 0);
}

TEST_F(CliUploadTest, APlanThatDoesNotFitOrAFileThatCannotBeReadIsRefusedBeforeAnythingIsSent) {
  for (const char* name : {"a_C3.wav", "b_C3.wav", "Kick.wav"}) WriteRamp(cli.Path(name), 100, 0);
  QFile junk(cli.Path("junk.wav"));
  ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
  junk.write("not audio at all");
  junk.close();
  const QByteArray before = QByteArray::fromStdString(Run({"--json", "ls"}).out);
  const struct {
    QStringList arguments;
    int exitCode;
    std::string says;
  } cases[] = {
      {{"upload", "a_C3.wav", "b_C3.wav", "--to", "5"},
       4,
       "'a_C3.wav' and 'b_C3.wav' both have the root key C3 (48)"},
      {{"upload", "Kick.wav", "--to", "5", "--root", "auto"},
       4,
       "The root key of 'Kick.wav' is neither in its metadata nor in its name"},
      {{"upload", "junk.wav", "--to", "5"}, 4, "junk.wav"},
      {{"upload", "missing.wav", "--to", "5"}, 4, "'missing.wav' is neither a file nor a folder"},
      {{"upload", "Kick.wav", "--to", "1/2"}, 4, "Instrument 1 has no layer 2"},
      {{"upload", "Kick.wav", "--to", "5", "--rate", "30000"}, 4, "cannot go in at 30000 Hz"},
      {{"upload", "Kick.wav", "--to", "5", "--range", "C4-C3"},
       2,
       "low key C4 (60) above its high key C3 (48)"},
      {{"upload", "Kick.wav", "--to", "5", "--channel", "middle"}, 2, "--channel takes left"},
      {{"upload", "Kick.wav", "--to", "9"}, 2, "--to: '9' is no slot"},
      {{"upload", "Kick.wav"}, 2, "--to is required"},
  };
  for (const auto& c : cases) {
    const CliResult result = Run(c.arguments);
    EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments.join(' ').toStdString();
    EXPECT_TRUE(Has(result.err, c.says)) << result.err;
  }
  const CliResult dry = Run({"upload", "Kick.wav", "--to", "5", "--dry-run"});
  EXPECT_EQ(dry.exitCode, 0) << dry.err;
  EXPECT_TRUE(Has(dry.out, "Kick.wav  root C4 (default, the file tells none)")) << dry.out;
  EXPECT_EQ(QByteArray::fromStdString(Run({"--json", "ls"}).out), before)
      << "nothing reached the sampler";
}

}  // namespace
}  // namespace kelvora::cli::test
