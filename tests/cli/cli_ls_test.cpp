#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <sstream>

#include "CliRunner.h"

namespace kelvora::cli::test {
namespace {

QJsonObject Listing(const CliResult& result) {
  QJsonParseError error{};
  const QJsonDocument document =
      QJsonDocument::fromJson(QByteArray::fromStdString(result.out), &error);
  EXPECT_EQ(error.error, QJsonParseError::NoError) << result.out;
  return document.object();
}

// The text line that lists `slot` ("1/1/2 ..." after the indent).
std::string LineOf(const std::string& text, const std::string& slot) {
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    const size_t start = line.find_first_not_of(' ');
    if (start != std::string::npos && line.compare(start, slot.size() + 2, slot + "  ") == 0) {
      return line;
    }
  }
  return {};
}

std::string Str(const QJsonValue& value) { return value.toString().toStdString(); }
std::string Num(const QJsonValue& value) { return std::to_string(value.toInteger()); }

class CliLsTest : public ::testing::Test {
 protected:
  CliRunner cli;
};

TEST_F(CliLsTest, JsonHoldsEveryFieldTheTextPrintsForEveryDemoWavesample) {
  const CliResult text = cli.Run({"--device", "sim", "ls"});
  ASSERT_EQ(text.exitCode, 0) << text.err;
  const CliResult json = cli.Run({"--device", "sim", "--json", "ls"});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  const QJsonObject listing = Listing(json);
  EXPECT_EQ(Str(listing["model"]), "EPS-16 PLUS");
  EXPECT_TRUE(listing["memoryFree"].isNull()) << "the sampler does not tell it";
  EXPECT_NE(text.out.find(Num(listing["memoryBlocksUsed"]) + " blocks"), std::string::npos);
  int waveSamples = 0;
  for (const QJsonValue iv : listing["instruments"].toArray()) {
    const QJsonObject instrument = iv.toObject();
    const std::string line = LineOf(text.out, Str(instrument["slot"]));
    EXPECT_NE(line.find(Str(instrument["name"])), std::string::npos) << line;
    EXPECT_NE(line.find(Num(instrument["memoryBlocks"]) + " blocks"), std::string::npos) << line;
    for (const QJsonValue lv : instrument["layers"].toArray()) {
      const QJsonObject layer = lv.toObject();
      EXPECT_NE(LineOf(text.out, Str(layer["slot"])).find(Str(layer["name"])), std::string::npos);
      for (const QJsonValue wv : layer["waveSamples"].toArray()) {
        const QJsonObject ws = wv.toObject();
        const std::string wsLine = LineOf(text.out, Str(ws["slot"]));
        ++waveSamples;
        for (const std::string& part :
             {Str(ws["name"]), Num(ws["length"]) + " samples", Num(ws["rate"]) + " Hz",
              "root " + Str(ws["rootKey"]["name"]),
              "keys " + Str(ws["lowKey"]["name"]) + ".." + Str(ws["highKey"]["name"]),
              Str(ws["playbackMode"]), "start " + Num(ws["sampleStart"]),
              "end " + Num(ws["sampleEnd"])}) {
          EXPECT_NE(wsLine.find(part), std::string::npos) << part << " in " << wsLine;
        }
        const std::string loop = "loop " + Num(ws["loopStart"]) + "-" + Num(ws["loopEnd"]);
        EXPECT_EQ(wsLine.find(loop) != std::string::npos, ws["loops"].toBool()) << wsLine;
        if (ws["copyOf"].isString()) {
          EXPECT_NE(wsLine.find("copy of " + Str(ws["copyOf"])), std::string::npos) << wsLine;
        }
      }
    }
  }
  EXPECT_EQ(waveSamples, 6) << "the demo sampler's wavesamples";
  const QJsonObject copy = listing["instruments"][0]["layers"][0]["waveSamples"][2].toObject();
  EXPECT_EQ(Str(copy["copyOf"]), "1/1/1");
  EXPECT_DOUBLE_EQ(copy["seconds"].toDouble(), 4400.0 / 44100);
}

TEST_F(CliLsTest, ASlotNarrowsTheListingAndASlotNotThereIsAFailureNamingIt) {
  const QJsonObject layer = Listing(cli.Run({"--device", "sim", "--json", "ls", "3/2"}));
  const QJsonArray instruments = layer["instruments"].toArray();
  ASSERT_EQ(instruments.size(), 1);
  const QJsonArray layers = instruments[0]["layers"].toArray();
  ASSERT_EQ(layers.size(), 1);
  EXPECT_EQ(Str(layers[0]["slot"]), "3/2");
  EXPECT_EQ(Str(layers[0]["waveSamples"][0]["name"]), "Pad Sine");

  const CliResult empty = cli.Run({"--device", "sim", "ls", "5"});
  EXPECT_EQ(empty.exitCode, 1);
  EXPECT_NE(empty.err.find("The sampler holds no instrument 5."), std::string::npos) << empty.err;
  const CliResult bad = cli.Run({"--device", "sim", "ls", "3/9"});
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_NE(bad.err.find("the layer must be a number from 1 to 8"), std::string::npos);
}

}  // namespace
}  // namespace kelvora::cli::test
