// backup, backup --verify and restore through the real kelvora-cli.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "CliRunner.h"

namespace kelvora::cli::test {
namespace {

class CliBackupTest : public ::testing::Test {
 protected:
  CliResult Run(const QStringList& arguments) { return cli.Run(cli.Kept() + arguments); }
  void Flip(const QString& file) {
    QFile f(cli.Path(file));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.seek(100);
    char byte = 0;
    f.getChar(&byte);
    f.seek(100);
    f.putChar(static_cast<char>(byte ^ 1));
  }
  // Per wavesample slot "I/W": the hash of the samples it plays (a copy plays its source's).
  std::map<std::string, std::string> DataHashes(const QString& folder) {
    QFile file(cli.Path(folder + "/manifest.json"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    std::map<std::string, std::string> hashes;
    for (const QJsonValue instrument :
         JsonOf(file.readAll().toStdString())["instruments"].toArray()) {
      std::map<int, std::string> own;
      const QJsonArray waveSamples = instrument["wavesamples"].toArray();
      for (const QJsonValue ws : waveSamples) {
        own[ws["wavesample"].toInt()] = ws["data"]["samplesSha256"].toString().toStdString();
      }
      for (const QJsonValue ws : waveSamples) {
        const int source = ws["copyOf"].toInt(ws["wavesample"].toInt());
        hashes[std::to_string(instrument["instrument"].toInt()) + "/" +
               std::to_string(ws["wavesample"].toInt())] = own[source];
      }
    }
    return hashes;
  }

  CliRunner cli;
};

TEST_F(CliBackupTest, ResumesVerifiesAndRepairs) {
  const CliResult first = Run({"backup", "b"});
  ASSERT_EQ(first.exitCode, 0) << first.err;
  EXPECT_TRUE(Has(first.out, "5 wavesamples (88170 samples) transferred, 0 already whole"))
      << first.out;
  EXPECT_TRUE(Has(first.err, "3/1/1 Warm Pad: 44100 samples in")) << first.err;

  const CliResult again = Run({"--json", "backup", "b"});
  ASSERT_EQ(again.exitCode, 0) << again.err;
  const QJsonObject json = JsonOf(again.out);
  EXPECT_EQ(json["outcome"].toString(), "done");
  EXPECT_EQ(json["filesTransferred"].toInt(), 0);
  EXPECT_EQ(json["filesKept"].toInt(), 5);
  EXPECT_EQ(json["folder"].toString(), "b");

  Flip("b/instrument-2/ws-001.wav");
  const CliResult verify = Run({"backup", "--verify", "b"});
  EXPECT_EQ(verify.exitCode, 1);
  EXPECT_TRUE(Has(verify.err, "'b/instrument-2/ws-001.wav' is missing or damaged")) << verify.err;
  EXPECT_TRUE(Has(verify.out, "'b' differs from the sampler in 1 place")) << verify.out;
  const CliResult repair = Run({"backup", "b"});
  EXPECT_TRUE(Has(repair.out, "1 wavesample (8820 samples) transferred, 4 already whole"))
      << repair.out;
  const CliResult clean = Run({"backup", "--verify", "b"});
  EXPECT_EQ(clean.exitCode, 0) << clean.err;
  EXPECT_TRUE(Has(clean.out, "'b' matches the sampler")) << clean.out;
}

TEST_F(CliBackupTest, RestoreIntoAnEmptiedSamplerGivesTheSameBackup) {
  ASSERT_EQ(Run({"backup", "first"}).exitCode, 0);
  for (const char* instrument : {"1", "2", "3"}) ASSERT_EQ(Run({"delete", instrument}).exitCode, 0);
  const CliResult restored = Run({"restore", "first"});
  ASSERT_EQ(restored.exitCode, 0) << restored.err;
  EXPECT_TRUE(Has(restored.out, "5 wavesamples (88170 samples) sent")) << restored.out;
  EXPECT_TRUE(Has(restored.out, "Not brought back: Pitch tables and effects")) << restored.out;
  EXPECT_TRUE(Has(restored.out, "Not brought back: 1/1/3 Sine Copy played the data"))
      << restored.out;
  ASSERT_EQ(Run({"backup", "second"}).exitCode, 0);
  const std::map<std::string, std::string> was = DataHashes("first");
  EXPECT_EQ(was.size(), 6u);
  EXPECT_EQ(was, DataHashes("second"));
  for (const char* record :
       {"instrument-1/ws-001.words", "instrument-3/ws-002.words", "instrument-3/layer-2.words"}) {
    QFile a(cli.Path(QString("first/") + record));
    QFile b(cli.Path(QString("second/") + record));
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly)) << record;
    EXPECT_EQ(a.readAll(), b.readAll()) << record;
  }
}

TEST_F(CliBackupTest, RefusalsExitWithFour) {
  ASSERT_EQ(Run({"backup", "b"}).exitCode, 0);
  const CliResult taken = Run({"restore", "b", "--instrument", "1", "--to", "2"});
  EXPECT_EQ(taken.exitCode, 4);
  EXPECT_TRUE(Has(taken.err, "Instrument 2 of the sampler is in use (Drums)")) << taken.err;
  EXPECT_EQ(Run({"restore", "b", "--to", "6"}).exitCode, 4);  // which of three?
  EXPECT_EQ(Run({"restore", "nothing-here"}).exitCode, 4);
  QFile plain(cli.Path("plain"));
  ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  plain.close();
  EXPECT_EQ(Run({"backup", "plain"}).exitCode, 4);
  EXPECT_EQ(Run({"restore", "b", "--to", "9"}).exitCode, 2);

  const CliResult json = Run({"--json", "restore", "b", "--instrument", "2", "--to", "5"});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  EXPECT_EQ(JsonOf(json.out)["limits"].toArray().size(), 2);
  EXPECT_EQ(JsonOf(json.out)["filesTransferred"].toInt(), 1);
}

}  // namespace
}  // namespace kelvora::cli::test
